#include "controls/toolbar/ToolbarDesign.h"

#include "controls/design/StoredFont.h"
#include "controls/design/StoredPicture.h"

#include <cmath>
#include <limits>
#include <type_traits>

namespace pelmora::ToolbarDesign {

namespace {

const char* const kPictureKeys[3] = {"ButtonPicture", "ButtonPictureOver", "ButtonPictureDown"};

// Integers read within 0..max, or within the type's range when max is 0 (a button style is
// any 32-bit value, so unknown ones survive a load and save).
template <typename T> int64_t Lowest(int64_t max) {
    return max != 0 ? 0 : std::numeric_limits<T>::min();
}
template <typename T> int64_t Highest(int64_t max) {
    return max != 0 ? max : std::numeric_limits<T>::max();
}

class Reader {
public:
    Reader(const PropertyBag& bag, const QFont& ambient) : bag_(bag), ambient_(ambient) {}

    void Value(const QString& key, bool& field, bool def, int64_t) const {
        field = bag_.ReadBool(key, def);
    }
    template <typename T>
    requires std::is_integral_v<T>
    void Value(const QString& key, T& field, T def, int64_t max) const {
        field = static_cast<T>(bag_.ReadInteger(key, def, Lowest<T>(max), Highest<T>(max)));
    }
    void Value(const QString& key, float& field, float def, int64_t) const {
        const double v = bag_.ReadNumber(key, def);
        field = std::abs(v) <= std::numeric_limits<float>::max() ? static_cast<float>(v) : def;
    }
    void Value(const QString& key, QString& field, const QString& def, int64_t) const {
        field = bag_.ReadString(key, def);
    }
    void Value(const QString& key, QFont& field, const QFont&, int64_t) const {
        field = StoredFont::Read(bag_.Value(key), ambient_);
    }
    void Value(const QString& key, SourcedPicture& field, const SourcedPicture&, int64_t) const {
        QString source;
        const OlePicture picture = StoredPicture::Read(bag_.Value(key), source);
        field = SourcedPicture(picture, source);
    }
    void Pictures(ToolbarButton& b, const QString& n) const {
        for (int which = 0; which < 3; ++which) {
            QString source;
            const OlePicture pic = StoredPicture::Read(bag_.Value(kPictureKeys[which] + n), source);
            b.SetAPicture(which, pic, source);
        }
    }

private:
    const PropertyBag& bag_;
    const QFont& ambient_;
};

class Writer {
public:
    Writer(PropertyBag& bag, const QFont& ambient) : bag_(bag), ambient_(ambient) {}

    template <typename T>
    void Value(const QString& key, const T& value, const T& def, int64_t) const {
        if constexpr (std::is_same_v<T, QFont>) {
            bag_.Write(key, StoredFont::Write(value), StoredFont::Write(ambient_));
        } else if constexpr (std::is_same_v<T, SourcedPicture>) {
            bag_.Write(key, StoredPicture::Write(value.Picture(), value.Source()), QJsonValue());
        } else if constexpr (std::is_same_v<T, QString> || std::is_same_v<T, bool>) {
            bag_.Write(key, value, def);
        } else if constexpr (std::is_floating_point_v<T>) {
            bag_.Write(key, static_cast<double>(value), static_cast<double>(def));
        } else if (key == QLatin1String("ButtonCount")) { // the one value always written
            bag_.WriteAlways(key, static_cast<qint64>(value));
        } else {
            bag_.Write(key, static_cast<qint64>(value), static_cast<qint64>(def));
        }
    }
    void Pictures(const ToolbarButton& b, const QString& n) const {
        for (int which = 0; which < 3; ++which) {
            bag_.Write(kPictureKeys[which] + n,
                       StoredPicture::Write(b.APicture(which), b.PictureSource(which)),
                       QJsonValue());
        }
    }

private:
    PropertyBag& bag_;
    const QFont& ambient_;
};

// The control values in stored order, each through a copy; P is a mutable or const
// ToolbarProperties, and only a mutable one takes the copy back.
template <typename Io, typename P> void ControlValues(const Io& io, P& p) {
#define PELMORA_TOOLBAR_VALUE(type, name, key, def, max, effect, notice)                           \
    {                                                                                              \
        type value = p.name();                                                                     \
        io.Value(QStringLiteral(key), value, type(def), max);                                      \
        if constexpr (!std::is_const_v<P>) {                                                       \
            p.Set##name(value);                                                                    \
        }                                                                                          \
    }
    PELMORA_TOOLBAR_PROPERTIES(PELMORA_TOOLBAR_VALUE)
#undef PELMORA_TOOLBAR_VALUE
}

// A button's values in stored order, each through a copy as the control values are; B is a
// mutable or const ToolbarButton.
template <typename Io, typename B> void EachButtonValue(const Io& io, B& b, const QString& n) {
#define PELMORA_BUTTON_VALUE(type, field, key, def, effect)                                        \
    {                                                                                              \
        type value = b.field();                                                                    \
        io.Value(QStringLiteral(key) + n, value, type(def), 0);                                    \
        if constexpr (!std::is_const_v<B>) {                                                       \
            b.Set##field(value);                                                                   \
        }                                                                                          \
    }
    PELMORA_TOOLBAR_BUTTON_VALUES(PELMORA_BUTTON_VALUE, io.Pictures(b, n);)
#undef PELMORA_BUTTON_VALUE
}

} // namespace

void Read(const PropertyBag& bag, const QFont& ambientFont, ToolbarProperties& p,
          ButtonCollection& buttons) {
    const Reader io{bag, ambientFont};
    ControlValues(io, p);
    buttons.Clear();
    buttons.Resize(p.ButtonCount());
    for (int i = 1; i <= p.ButtonCount(); ++i) {
        const QString n = QString::number(i);
        EachButtonValue(io, buttons[i], n);
    }
}

void Write(PropertyBag& bag, const ToolbarProperties& p, const QFont& ambientFont,
           const ButtonCollection& buttons) {
    const Writer io{bag, ambientFont};
    ControlValues(io, p);
    for (int i = 1; i <= buttons.Count(); ++i) {
        const QString n = QString::number(i);
        EachButtonValue(io, buttons[i], n);
    }
}

} // namespace pelmora::ToolbarDesign
