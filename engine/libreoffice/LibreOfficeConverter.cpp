#include "engine/libreoffice/LibreOfficeConverter.h"

#include "engine/libreoffice/OfficeProcess.h"
#include "engine/libreoffice/OfficeSandbox.h"

namespace pelmora {

LibreOfficeConverter::LibreOfficeConverter(LibreOfficeSettings settings)
    : settings_(std::move(settings)) {}

std::unique_ptr<ConverterSession>
LibreOfficeConverter::OpenSession(std::optional<std::chrono::milliseconds> documentTimeLimit) {
    LibreOfficeSettings settings = settings_;
    if (documentTimeLimit) {
        settings.documentTimeLimit = *documentTimeLimit;
    }
    return std::make_unique<LibreOfficeSession>(std::move(settings));
}

void LibreOfficeConverter::StopAllNow() noexcept {
    EmergencyStopOffices();
}

void LibreOfficeConverter::RemoveLeftovers() {
    RemoveOfficeLeftovers();
}

std::string LibreOfficeConverter::Confine(SandboxMode mode, std::uint64_t memoryCeiling) {
    SandboxChoice choice = ChooseSandbox(mode, OfficeProgramFolder(settings_));
    settings_.bwrap = choice.bwrap;
    settings_.memoryCeiling = memoryCeiling;
    return choice.problem;
}

} // namespace pelmora
