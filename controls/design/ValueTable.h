#pragma once
// What the controls' value tables share: each table lists one row per value, starting
// (type, name, stored key, default, ...), and a class keeps the value private behind a
// getter and a setter made from its row.

// The getter and setter of the private field name##_.
#define PELMORA_VALUE_ACCESSORS(type, name, ...)                                                   \
    const type& name() const {                                                                     \
        return name##_;                                                                            \
    }                                                                                              \
    void Set##name(const type& value) {                                                            \
        name##_ = value;                                                                           \
    }

// The private field of a row, holding the row's default.
#define PELMORA_VALUE_FIELD(type, name, key, def, ...) type name##_ = def;
