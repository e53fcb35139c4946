#include "engine/WordSession.h"

#include "engine/AutomationRegistry.h"

namespace pelmora {

bool OpenWordSession(WordSession& session) {
    try {
        session.application_ = CreateObject("Word.Application");
        session.application_->SetDisplayAlerts(0);
        session.application_->Options().SetConfirmConversions(false);
        session.application_->Options().SetSaveNormalPrompt(false);
        session.application_->Options().SetSavePropertiesPrompt(false);
        return true;
    } catch (const std::exception&) {
        // A converter that refuses a setting is as unusable as a missing one; quit
        // it so no half-started office stays behind.
        CloseWordSession(session);
        return false;
    }
}

void CloseWordSession(WordSession& session) {
    if (!session.application_) {
        return;
    }
    try {
        session.application_->Quit();
    } catch (const std::exception&) {
        // Nothing useful can be done about a converter that will not quit.
    }
    session.application_.reset();
}

void StopWordSessionsNow() noexcept {
    if (const ConverterCleanup cleanup = RegisteredConverterCleanup(); cleanup.stopNow_) {
        cleanup.stopNow_();
    }
}

void RemoveWordSessionLeftovers() {
    if (const ConverterCleanup cleanup = RegisteredConverterCleanup(); cleanup.removeLeftovers_) {
        cleanup.removeLeftovers_();
    }
}

} // namespace pelmora
