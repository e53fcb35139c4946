#pragma once
// The converter a test window is built with: it passes every call on to the converter
// the test has chosen, so a test may switch to the real one after the window exists.

#include "engine/Converter.h"

#include <atomic>

namespace pelmora::test {

/// Passes each call on to the converter chosen last.
class ChosenConverter final : public ConverterFactory {
public:
    explicit ChosenConverter(ConverterFactory& first) : chosen_(&first) {}

    /// From now on, sessions come from converter, which must outlive this object.
    void Choose(ConverterFactory& converter) { chosen_ = &converter; }

    std::unique_ptr<ConverterSession>
    OpenSession(std::optional<std::chrono::milliseconds> documentTimeLimit) override {
        return chosen_.load()->OpenSession(documentTimeLimit);
    }
    void StopAllNow() noexcept override { chosen_.load()->StopAllNow(); }
    void RemoveLeftovers() override { chosen_.load()->RemoveLeftovers(); }

private:
    std::atomic<ConverterFactory*> chosen_;
};

} // namespace pelmora::test
