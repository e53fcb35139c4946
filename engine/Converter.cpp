#include "engine/Converter.h"

namespace pelmora {

std::unique_ptr<ConverterSession>
StartSession(ConverterFactory& converter,
             std::optional<std::chrono::milliseconds> documentTimeLimit) {
    try {
        return converter.OpenSession(documentTimeLimit);
    } catch (const std::exception&) {
        return nullptr;
    }
}

void EndSession(std::unique_ptr<ConverterSession>& session) {
    if (!session) {
        return;
    }
    try {
        session->Quit();
    } catch (const std::exception&) {
        // Nothing useful can be done about a converter that will not quit.
    }
    session.reset();
}

} // namespace pelmora
