#pragma once
// The recording converter every test program uses in place of LibreOffice: it
// records the session calls, writes a small page for every save, and fails where its
// script says so.

#include "tests/support/ConverterScript.h"

#include "engine/Converter.h"

#include <atomic>
#include <memory>

namespace pelmora::test {

/// A converter factory whose sessions record what they are asked and do what the
/// script says.
class RecordingConverter final : public ConverterFactory {
public:
    RecordingConverter();
    RecordingConverter(const RecordingConverter&) = delete;
    RecordingConverter& operator=(const RecordingConverter&) = delete;

    std::unique_ptr<ConverterSession>
    OpenSession(std::optional<std::chrono::milliseconds> documentTimeLimit) override;
    void StopAllNow() noexcept override { ++stops_; }
    void RemoveLeftovers() override { ++removals_; }

    /// What the converter does and what it saw.
    ConverterScript& Script() { return *script_; }
    /// How often StopAllNow() and RemoveLeftovers() were called.
    int Stops() const { return stops_; }
    int Removals() const { return removals_; }

private:
    std::shared_ptr<ConverterScript> script_;
    std::atomic<int> stops_{0};
    std::atomic<int> removals_{0};
};

} // namespace pelmora::test
