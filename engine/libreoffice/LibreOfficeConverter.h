#pragma once
// LibreOffice as the converter the front ends hand the engine.

#include "engine/Converter.h"
#include "engine/libreoffice/LibreOfficeSession.h"

namespace pelmora {

/// Starts LibreOfficeSession objects with the same settings; stopping at once and
/// removing leftovers reach every office this program has started.
class LibreOfficeConverter final : public ConverterFactory {
public:
    explicit LibreOfficeConverter(LibreOfficeSettings settings = {});

    std::unique_ptr<ConverterSession>
    OpenSession(std::optional<std::chrono::milliseconds> documentTimeLimit) override;
    void StopAllNow() noexcept override;
    void RemoveLeftovers() override;
    std::string Confine(SandboxMode mode, std::uint64_t memoryCeiling) override;

private:
    LibreOfficeSettings settings_;
};

} // namespace pelmora
