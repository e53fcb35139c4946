#include "engine/WordSession.h"

#include "engine/AutomationRegistry.h"

namespace pelmora {

bool OpenWordSession(WordSession& session,
                     std::optional<std::chrono::milliseconds> documentTimeLimit) {
    try {
        session.application = CreateObject("Word.Application");
        session.application->SetDisplayAlerts(0);
        session.application->Options().SetConfirmConversions(false);
        session.application->Options().SetSaveNormalPrompt(false);
        session.application->Options().SetSavePropertiesPrompt(false);
        if (documentTimeLimit) {
            session.application->SetDocumentTimeLimit(*documentTimeLimit);
        }
        return true;
    } catch (const std::exception&) {
        // A converter that refuses a setting is as unusable as a missing one; quit
        // it so no half-started office stays behind.
        CloseWordSession(session);
        return false;
    }
}

void CloseWordSession(WordSession& session) {
    if (!session.application) {
        return;
    }
    try {
        session.application->Quit();
    } catch (const std::exception&) {
        // Nothing useful can be done about a converter that will not quit.
    }
    session.application.reset();
}

void StopWordSessionsNow() noexcept {
    if (const ConverterCleanup cleanup = RegisteredConverterCleanup(); cleanup.stopNow) {
        cleanup.stopNow();
    }
}

void RemoveWordSessionLeftovers() {
    if (const ConverterCleanup cleanup = RegisteredConverterCleanup(); cleanup.removeLeftovers) {
        cleanup.removeLeftovers();
    }
}

} // namespace pelmora
