#pragma once
// The recording converter every test program uses in place of LibreOffice: it
// records the automation calls, writes a small page for every SaveAs, and fails
// where its script says so.

#include "tests/support/ConverterScript.h"

#include "engine/AutomationRegistry.h"

#include <memory>
#include <string>

namespace pelmora::test {

/// Registers a recording converter as progId for its lifetime, then puts back the
/// factory registered before it.
class RecordingConverter {
public:
    explicit RecordingConverter(std::string progId = "Word.Application");
    ~RecordingConverter();
    RecordingConverter(const RecordingConverter&) = delete;
    RecordingConverter& operator=(const RecordingConverter&) = delete;

    /// What the converter does and what it saw.
    ConverterScript& Script() { return *script_; }

private:
    std::string progId_;
    std::shared_ptr<ConverterScript> script_;
    AutomationFactory previous_;
};

} // namespace pelmora::test
