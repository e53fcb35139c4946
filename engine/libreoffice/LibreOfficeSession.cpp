#include "engine/libreoffice/LibreOfficeSession.h"

#include "engine/StagingFolder.h"
#include "engine/WholeFiles.h"
#include "engine/libreoffice/DocumentLayout.h"
#include "engine/libreoffice/OfficeMainThread.h"
#include "engine/libreoffice/OfficeProcess.h"
#include "engine/libreoffice/OfficeSupport.h"
#include "engine/libreoffice/PagePictures.h"
#include "engine/libreoffice/PipeConnection.h"

#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/bridge/BridgeFactory.hpp>
#include <com/sun/star/bridge/XBridge.hpp>
#include <com/sun/star/connection/Connector.hpp>
#include <com/sun/star/connection/NoConnectException.hpp>
#include <com/sun/star/container/XNameAccess.hpp>
#include <com/sun/star/document/MacroExecMode.hpp>
#include <com/sun/star/document/UpdateDocMode.hpp>
#include <com/sun/star/document/XTypeDetection.hpp>
#include <com/sun/star/frame/Desktop.hpp>
#include <com/sun/star/frame/XDesktop2.hpp>
#include <com/sun/star/frame/XFrame2.hpp>
#include <com/sun/star/frame/XLoadable.hpp>
#include <com/sun/star/frame/XStorable.hpp>
#include <com/sun/star/lang/DisposedException.hpp>
#include <com/sun/star/lang/XComponent.hpp>
#include <com/sun/star/lang/XMultiComponentFactory.hpp>
#include <com/sun/star/task/ErrorCodeRequest.hpp>
#include <com/sun/star/task/PasswordRequest.hpp>
#include <com/sun/star/task/XInteractionAbort.hpp>
#include <com/sun/star/task/XInteractionApprove.hpp>
#include <com/sun/star/task/XInteractionHandler.hpp>
#include <com/sun/star/task/XInteractionRequest.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>
#include <com/sun/star/util/CloseVetoException.hpp>
#include <com/sun/star/util/XCloseable.hpp>
#include <cppuhelper/bootstrap.hxx>
#include <cppuhelper/implbase1.hxx>
#include <rtl/bootstrap.hxx>
#include <rtl/ustring.hxx>

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <map>
#include <mutex>
#include <regex>
#include <thread>

namespace pelmora {

namespace css = ::com::sun::star;
namespace fs = std::filesystem;
using css::uno::Reference;
using css::uno::UNO_QUERY;
using css::uno::UNO_QUERY_THROW;
using rtl::OString;
using rtl::OUString;
using Clock = std::chrono::steady_clock;
using Properties = css::uno::Sequence<css::beans::PropertyValue>;

namespace {

std::string Utf8(const OUString& text) {
    return rtl::OUStringToOString(text, RTL_TEXTENCODING_UTF8).getStr();
}

OUString Unicode(const std::string& text) {
    return rtl::OStringToOUString(OString(text.c_str(), static_cast<sal_Int32>(text.size())),
                                  RTL_TEXTENCODING_UTF8);
}

// LibreOffice's messages end with the source line that raised them; a log reader
// has no use for that.
std::string Message(const css::uno::Exception& e) {
    static const std::regex location(R"(\s+at\s+\S+\.(cxx|hxx|cpp|h):\d+)");
    return std::regex_replace(Utf8(e.Message), location, "");
}

Properties MakeProperties(std::initializer_list<std::pair<const char*, css::uno::Any>> list) {
    Properties properties(static_cast<sal_Int32>(list.size()));
    auto* out = properties.getArray();
    for (const auto& [name, value] : list) {
        out->Name = OUString::createFromAscii(name);
        out->Value = value;
        ++out;
    }
    return properties;
}

// Properties with one more value.
Properties With(Properties properties, const char* name, css::uno::Any value) {
    const sal_Int32 count = properties.getLength();
    properties.realloc(count + 1);
    properties.getArray()[count] = MakeProperties({{name, std::move(value)}})[0];
    return properties;
}

OUString Text(const Properties& properties, const char* name) {
    OUString value;
    for (const auto& property : properties) {
        if (property.Name.equalsAscii(name)) {
            property.Value >>= value;
        }
    }
    return value;
}

// The UNO runtime of this process, bootstrapped once from LibreOffice's own URE
// settings. Never destroyed: UNO does not survive being torn down during static
// destruction.
Reference<css::uno::XComponentContext> LocalContext(const std::string& programFolder) {
    static std::mutex lock;
    static Reference<css::uno::XComponentContext>* context = nullptr;
    std::lock_guard<std::mutex> guard(lock);
    if (context == nullptr) {
        try {
            rtl::Bootstrap::set(
                OUString("URE_BOOTSTRAP"),
                Unicode("vnd.sun.star.pathname:" + programFolder + "/fundamentalrc"));
            // This side needs no user profile; left unset, looking for one creates
            // ~/.config in the user's HOME.
            rtl::Bootstrap::set(OUString("UserInstallation"), OUString("file:///nonexistent"));
            context = new Reference<css::uno::XComponentContext>(
                cppu::defaultBootstrap_InitialComponentContext());
        } catch (const cppu::BootstrapException& e) {
            throw ConverterError("cannot load LibreOffice's UNO runtime: " + Utf8(e.getMessage()));
        } catch (const css::uno::Exception& e) {
            throw ConverterError("cannot load LibreOffice's UNO runtime: " + Message(e));
        }
    }
    return *context;
}

// LibreOffice's error number for a wrong password of a Word document.
constexpr sal_uInt32 kWrongPassword = 0x1000f;

// Answers every question the office asks while loading: a batch run has nobody to
// answer, so a password request is refused and noted, anything else is accepted
// where it can be and refused where it cannot.
class SilentHandler : public cppu::WeakImplHelper1<css::task::XInteractionHandler> {
public:
    void SAL_CALL handle(const Reference<css::task::XInteractionRequest>& request) override {
        const css::uno::Any what = request->getRequest();
        css::task::ErrorCodeRequest error;
        if (what.isExtractableTo(cppu::UnoType<css::task::PasswordRequest>::get()) ||
            ((what >>= error) &&
             (static_cast<sal_uInt32>(error.ErrCode) & 0x3ffffff) == kWrongPassword)) {
            passwordRefused_ = true;
        }
        Reference<css::task::XInteractionContinuation> abort;
        Reference<css::task::XInteractionContinuation> approve;
        for (const auto& continuation : request->getContinuations()) {
            if (Reference<css::task::XInteractionAbort>(continuation, UNO_QUERY).is()) {
                abort = continuation;
            } else if (Reference<css::task::XInteractionApprove>(continuation, UNO_QUERY).is()) {
                approve = continuation;
            }
        }
        if (approve.is() && !passwordRefused_) {
            approve->select();
        } else if (abort.is()) {
            abort->select();
        }
    }

    bool passwordRefused_ = false;
};

// One office process and the objects of its UNO connection.
struct Office {
    std::unique_ptr<OfficeProcess> process_;
    Reference<css::bridge::XBridge> bridge_;
    Reference<css::uno::XComponentContext> context_;
    Reference<css::frame::XDesktop2> desktop_;
    std::unique_ptr<OfficeMainThread> mainThread_; ///< where documents are loaded and written
    // What loading any document asks of the office, made or learnt once: every call
    // crosses the bridge, and a short document needs only about fifty.
    Reference<css::lang::XMultiComponentFactory> factory_;
    Reference<css::document::XTypeDetection> detection_;
    Reference<css::container::XNameAccess> filters_;
    std::map<OUString, std::pair<OUString, OUString>> loaderOfType_; ///< filter, service
    bool stopped_ = false;

    bool Alive() { return !stopped_ && process_ && process_->Running(); }

    // Alive and answering: an office that died between documents may still look
    // alive for a moment while its threads end, and the next document must not
    // be blamed for that.
    bool Responds() {
        if (!Alive()) {
            return false;
        }
        try {
            OfficeProcess::Watch watch(*process_, Clock::now() + std::chrono::seconds(10));
            return context_->getServiceManager().is();
        } catch (const css::uno::Exception&) {
            return false;
        }
    }

    // Ends the process (politely first when polite) and removes its folders; the
    // remote references die with the bridge.
    void ShutDown(bool polite) {
        if (polite && Alive()) {
            bool terminated = false;
            try {
                OfficeProcess::Watch watch(*process_, Clock::now() + std::chrono::seconds(10));
                terminated = desktop_->terminate();
            } catch (const css::uno::Exception&) {
                terminated = true; // the bridge went down with the office
            }
            process_->Stop(terminated ? std::chrono::seconds(10) : std::chrono::seconds(0));
        }
        stopped_ = true;
        desktop_.clear();
        mainThread_.reset();
        factory_.clear();
        detection_.clear();
        filters_.clear();
        context_.clear();
        // Disposing the bridge here, not whenever its last proxy goes, keeps its
        // tear-down from overlapping the next office's start.
        if (Reference<css::lang::XComponent> component{bridge_, UNO_QUERY}; component.is()) {
            try {
                component->dispose();
            } catch (const css::uno::Exception&) {
            }
        }
        bridge_.clear();
        process_.reset();
    }
};

// Connects to the office process as soon as it accepts connections: on its pipe, or
// inside the sandbox on the socket it shares with this process.
Reference<css::connection::XConnection>
ConnectToOffice(OfficeProcess& process, const Reference<css::uno::XComponentContext>& local,
                std::chrono::milliseconds startTimeLimit) {
    const auto connector = css::connection::Connector::create(local);
    const OUString pipe = Unicode("pipe,name=" + process.PipeName());
    Reference<css::connection::XConnection> connection;
    while (!connection.is()) {
        if (!process.Running()) {
            throw ConverterError(
                process.TimedOut()
                    ? "LibreOffice did not start within " + DescribeDuration(startTimeLimit)
                    : "LibreOffice ended while starting (" + process.EndDescription() + ")");
        }
        try {
            if (process.Sandboxed()) {
                const std::string path = process.SandboxPipePath();
                connection = path.empty() ? nullptr : ConnectPipe(path);
                if (!connection.is()) {
                    std::this_thread::sleep_for(std::chrono::milliseconds(10));
                }
            } else {
                connection = connector->connect(pipe);
            }
        } catch (const css::connection::NoConnectException&) {
            // A refused connect costs microseconds; every start waits out the rest.
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    return connection;
}

// Spawns an office process (its arguments built by OfficeProcess), then connects to it.
std::shared_ptr<Office> StartOffice(const LibreOfficeSettings& settings) {
    auto office = std::make_shared<Office>();
    office->process_ = std::make_unique<OfficeProcess>(
        settings.programFolder, settings.startTimeLimit, settings.bwrap, settings.memoryCeiling);
    OfficeProcess& process = *office->process_;
    const auto deadline = Clock::now() + settings.startTimeLimit;
    try {
        const auto local = LocalContext(settings.programFolder);
        OfficeProcess::Watch watch(process, deadline);
        const Reference<css::connection::XConnection> connection =
            ConnectToOffice(process, local, settings.startTimeLimit);
        office->bridge_ = css::bridge::BridgeFactory::create(local)->createBridge(
            OUString(), OUString("urp"), connection, nullptr);
        office->context_.set(office->bridge_->getInstance(OUString("StarOffice.ComponentContext")),
                             UNO_QUERY_THROW);
        office->desktop_ = css::frame::Desktop::create(office->context_);
        office->mainThread_ = std::make_unique<OfficeMainThread>(office->context_);
        office->factory_ = office->context_->getServiceManager();
        office->detection_.set(office->factory_->createInstanceWithContext(
                                   "com.sun.star.document.TypeDetection", office->context_),
                               UNO_QUERY_THROW);
        office->filters_.set(office->factory_->createInstanceWithContext(
                                 "com.sun.star.document.FilterFactory", office->context_),
                             UNO_QUERY_THROW);
        process.NoteSockets();
    } catch (const css::uno::Exception& e) {
        office->ShutDown(false);
        throw ConverterError("LibreOffice could not be started: " + Message(e));
    } catch (...) {
        office->ShutDown(false);
        throw;
    }
    return office;
}

// What the session and its documents share: the settings and the office now running.
struct Session {
    LibreOfficeSettings settings_;
    std::shared_ptr<Office> office_;
    bool quit_ = false;
    unsigned copies_ = 0;

    // The office of the session, started anew when it does not answer.
    std::shared_ptr<Office> RunningOffice() {
        if (quit_) {
            throw ConverterError("the converter has been quit");
        }
        if (!office_ || !office_->Responds()) {
            if (office_) {
                office_->ShutDown(false);
            }
            office_.reset();
            office_ = StartOffice(settings_);
        }
        return office_;
    }
};

// Runs one call into the office under the document's time limit. A dead or killed
// office becomes "the converter stopped" (and is not used again); LibreOffice's own
// failures become `failure(message)`.
template <class Call, class Failure>
auto Guarded(const Session& session, Office& office, Clock::time_point deadline,
             const std::string& doing, Call call, Failure failure) -> decltype(call()) {
    if (office.stopped_ || !office.process_) {
        throw ConverterError("the converter stopped before " + doing);
    }
    std::string message;
    bool bridgeGone = false;
    // An office found dead here died after the last call, with this document open.
    if (office.process_->Running()) {
        try {
            OfficeProcess::Watch watch(*office.process_, deadline);
            return office.mainThread_->Run(call, [&] { return office.process_->Running(); });
        } catch (const css::lang::DisposedException& e) {
            message = Message(e);
            bridgeGone = true;
        } catch (const css::uno::Exception& e) {
            message = Message(e);
        }
    }
    const bool timedOut = office.process_->TimedOut();
    const bool tooBig = office.process_->MemoryExceeded();
    if (!bridgeGone && !timedOut && !tooBig && office.process_->Running()) {
        throw ConverterError(failure(message));
    }
    office.process_->Kill();
    const std::string end = office.process_->EndDescription();
    office.ShutDown(false);
    if (tooBig) {
        throw ConverterError("the converter used more than " +
                             std::to_string(session.settings_.memoryCeiling >> 20) + " MB while " +
                             doing + " and was stopped");
    }
    if (timedOut) {
        throw ConverterError("the converter took longer than " +
                             DescribeDuration(session.settings_.documentTimeLimit) + " while " +
                             doing + " and was stopped");
    }
    throw ConverterError("the converter stopped while " + doing + " (LibreOffice ended" +
                         (end.empty() ? "" : " with " + end) + ")");
}

// Loads a text document without any window or view: the view's controls are what
// crashed a headless office on real files, and loading is faster without them.
Reference<css::lang::XComponent> LoadDocument(Office& office, const OUString& url,
                                              Properties args) {
    Properties descriptor = MakeProperties({{"URL", css::uno::Any(url)}});
    const OUString type = office.detection_->queryTypeByDescriptor(descriptor, true);
    if (type.isEmpty()) {
        throw ConverterError("LibreOffice does not recognise this file as a document");
    }
    const OUString detected = Text(descriptor, "FilterName");
    const OUString key = type + "\n" + detected;
    auto known = office.loaderOfType_.find(key);
    if (known == office.loaderOfType_.end()) {
        OUString filter = detected;
        if (filter.isEmpty()) {
            Properties typeProperties;
            Reference<css::container::XNameAccess>(office.detection_, UNO_QUERY_THROW)
                ->getByName(type) >>= typeProperties;
            filter = Text(typeProperties, "PreferredFilter");
        }
        Properties filterProperties;
        if (!filter.isEmpty() && office.filters_->hasByName(filter)) {
            office.filters_->getByName(filter) >>= filterProperties;
        }
        known = office.loaderOfType_
                    .emplace(key, std::make_pair(filter, Text(filterProperties, "DocumentService")))
                    .first;
    }
    const auto& [filter, service] = known->second;
    if (service != "com.sun.star.text.TextDocument" && service != "com.sun.star.text.WebDocument") {
        throw ConverterError("this is not a text document (LibreOffice reads it as " + Utf8(type) +
                             ")");
    }
    Reference<css::frame::XLoadable> model(
        office.factory_->createInstanceWithContext(service, office.context_), UNO_QUERY_THROW);
    model->load(With(With(std::move(args), "URL", css::uno::Any(url)), "FilterName",
                     css::uno::Any(filter)));
    return Reference<css::lang::XComponent>(model, UNO_QUERY_THROW);
}

std::string SourceUrl(const std::string& fileName) {
    std::error_code error;
    const fs::path path = fs::absolute(fileName, error);
    return FileUrl((error ? fs::path(fileName) : path).lexically_normal().string());
}

// How a document is loaded: read-only, never asking, no macros, no updated links.
Properties LoadProperties(const Reference<css::task::XInteractionHandler>& handler,
                          const std::string& fileName, const std::string& password) {
    Properties properties = MakeProperties(
        {{"ReadOnly", css::uno::Any(true)},
         {"InteractionHandler", css::uno::Any(handler)},
         {"MacroExecutionMode", css::uno::Any(css::document::MacroExecMode::NEVER_EXECUTE)},
         {"UpdateDocMode", css::uno::Any(css::document::UpdateDocMode::NO_UPDATE)},
         // Links the document makes relative to itself resolve from the source's
         // real folder, not from the private copy's.
         {"DocumentBaseURL", css::uno::Any(Unicode(SourceUrl(fileName)))}});
    if (!password.empty()) {
        properties = With(properties, "Password", css::uno::Any(Unicode(password)));
    }
    return properties;
}

// Loads url and updates its fields; returns the document and what it needs from a
// layout.
std::pair<Reference<css::lang::XComponent>, DocumentLayout>
LoadWithFields(Office& office, const OUString& url, const Properties& properties) {
    const auto loaded = LoadDocument(office, url, properties);
    const DocumentLayout layout(loaded);
    // Updating fields costs as much as a third of loading, for nothing when there
    // are none or the layout sets them.
    if (layout.NeedsRefresh()) {
        DocumentLayout::RefreshFields(loaded);
    }
    return std::make_pair(loaded, layout);
}

// A document loaded from its private copy in an office's folder.
struct LoadedCopy {
    std::shared_ptr<Office> office_;
    Reference<css::lang::XComponent> component_;
    DocumentLayout layout_;
    std::string copyFolder_;
    Clock::duration loadTook_{}; ///< how long loading took: a second load takes about as long
};

// Copies fileName into office's folder and loads the copy there. The office reads a
// private copy, so read-only only tells it not to expect changes.
LoadedCopy LoadCopy(Session& session, const std::shared_ptr<Office>& office,
                    const std::string& fileName, const std::string& password,
                    Clock::time_point deadline) {
    const std::string copy =
        CopySource(office->process_->WorkFolder(), ++session.copies_, fileName);
    const std::string copyFolder = fs::path(copy).parent_path().string();
    auto* handler = new SilentHandler;
    const Reference<css::task::XInteractionHandler> handlerReference(handler);
    const Properties properties = LoadProperties(handlerReference, fileName, password);
    const OUString url = Unicode(FileUrl(office->process_->OfficePath(copy)));
    try {
        const auto loadStart = Clock::now();
        auto [component, layout] = Guarded(
            session, *office, deadline, "opening the document",
            [&] { return LoadWithFields(*office, url, properties); },
            [&](const std::string& message) {
                return handler->passwordRefused_ ? std::string("the password is wrong or missing")
                                                 : DescribeLoadError(message);
            });
        return {office, component, layout, copyFolder, Clock::now() - loadStart};
    } catch (const ConverterError& e) {
        std::error_code ignored;
        fs::remove_all(copyFolder, ignored);
        if (handler->passwordRefused_) {
            // The caller may have another password to try on the same office.
            throw ConverterPasswordError(e.what());
        }
        throw;
    } catch (...) {
        std::error_code ignored;
        fs::remove_all(copyFolder, ignored);
        throw;
    }
}

class LibreOfficeDocument final : public ConverterDocument {
public:
    LibreOfficeDocument(std::shared_ptr<Session> session, LoadedCopy loaded,
                        Clock::time_point deadline, std::string source, std::string password)
        : session_(std::move(session)), loaded_(std::move(loaded)), deadline_(deadline),
          source_(std::move(source)), password_(std::move(password)) {}

    ~LibreOfficeDocument() override {
        try {
            Close();
        } catch (const std::exception&) {
            // A document that cannot be closed goes away with its office.
        }
    }

    void SaveAsPage(const std::string& given, const std::string& fileName) override {
        if (!loaded_.component_.is()) {
            throw ConverterError("the document is closed");
        }
        std::error_code error;
        const std::string folder =
            fs::absolute(given.empty() ? fs::path(".") : fs::path(given), error).string();
        if (!fs::is_directory(folder, error)) {
            throw ConverterError("the folder " + given + " does not exist");
        }
        if (access(folder.c_str(), W_OK | X_OK) != 0) {
            throw ConverterError("cannot write into the folder " + given + ": " +
                                 std::strerror(errno));
        }
        // A page written into a staging folder is read from the folder above it.
        fs::path readFolder = fs::path(folder).lexically_normal();
        if (readFolder.filename().empty()) {
            readFolder = readFolder.parent_path();
        }
        if (readFolder.filename().string().rfind(kStagingFolderPrefix, 0) == 0) {
            readFolder = readFolder.parent_path();
        }
        const std::string page = (readFolder / fileName).string();
        StorePage(folder, page);
        std::vector<std::string> writtenThrough;
        if (Sandboxed()) {
            const std::string storeFolder = StoreFolder(folder);
            MoveFiles(storeFolder, folder);
            // The export named the pictures where the office wrote them, as seen
            // from the page's folder: relative, or absolute when it found no path.
            const fs::path officeFolder = loaded_.office_->process_->OfficePath(storeFolder);
            writtenThrough = {officeFolder.lexically_relative(readFolder).generic_string() + "/",
                              officeFolder.generic_string() + "/",
                              "file://" + officeFolder.generic_string() + "/"};
        }
        PlaceStoredPage(folder, StoredName(), fileName, writtenThrough);
    }

    void Close() override {
        if (!loaded_.component_.is()) {
            return;
        }
        const Reference<css::lang::XComponent> component = loaded_.component_;
        loaded_.component_.clear();
        std::error_code ignored;
        fs::remove_all(loaded_.copyFolder_, ignored);
        CloseComponent(component);
    }

private:
    // The office writes a short name of plain letters: it cannot write a name that is
    // not UTF-8, nor the longer names it makes from a long one.
    static std::string StoredName() { return std::string(kStagingWorkPrefix) + "page.htm"; }

    bool Sandboxed() const {
        return loaded_.office_->process_ && loaded_.office_->process_->Sandboxed();
    }

    // Where the office writes the page: the sandboxed one only into its own folder,
    // from where the page and its pictures are moved out.
    std::string StoreFolder(const std::string& folder) const {
        return Sandboxed() ? loaded_.copyFolder_ + "/page" : folder;
    }

    // Writes the page into StoreFolder(folder), laid out when it shows values only a
    // layout knows. A document known to need the layout gets its view before it is
    // written, so it is written once; one whose page shows that it needed one is
    // written again. The view is made on the office's main thread, where even an
    // office installed without comment windows lays out a document with comments.
    void StorePage(const std::string& folder, const std::string& page) {
        const bool roomForView = RoomToLoadAgain();
        if (roomForView && loaded_.layout_.Wanted()) {
            StoreLaidOut(folder, page);
            return;
        }
        const std::string target = StoreTarget(folder);
        Store(target, page);
        if (roomForView && PlacesByPosition(target)) {
            StoreLaidOut(folder, page);
        }
    }

    // What a failed view must leave of the document's time: a second load, as long
    // as the first took, twice over for a busy machine, and the store after it.
    Clock::duration Reserve() const { return 2 * loaded_.loadTook_ + std::chrono::seconds(5); }

    // Whether a view can have its turn and still leave the reserve. A document without
    // that time is written without layout: a page with stale page numbers is better
    // than a document lost to its time limit.
    bool RoomToLoadAgain() const { return Clock::now() + 2 * Reserve() < deadline_; }

    // The store folder, made, and the page's name in it.
    std::string StoreTarget(const std::string& folder) const {
        std::error_code error;
        fs::create_directories(StoreFolder(folder), error);
        return (fs::path(StoreFolder(folder)) / StoredName()).string();
    }

    // Whether the page written to target places drawings by a position that the export
    // takes from the layout.
    static bool PlacesByPosition(const std::string& target) {
        std::string written;
        ReadAll(target, written); // a page that cannot be read is found so later
        return DocumentLayout::HasAbsolutePositions(written);
    }

    // Writes the page through a hidden view. Making the view ends the office on some
    // files that convert fine without one, and what a failed view leaves of a document
    // is not to be trusted: then the source is loaded again, on a fresh office when
    // this one died, and written without layout.
    void StoreLaidOut(const std::string& folder, const std::string& page) {
        Reference<css::frame::XFrame2> view;
        try {
            view = AttachView(deadline_ - Reserve());
            Store(StoreTarget(folder), page);
        } catch (const ConverterError&) {
            CloseView(view);
            view.clear();
            Reopen();
            Store(StoreTarget(folder), page);
        }
        CloseView(view);
    }

    // Loads the source again, on a fresh office when this one died.
    void Reopen() {
        try {
            Close();
        } catch (const ConverterError&) {
            // What is left of the document goes with its office.
        }
        loaded_ = LoadCopy(*session_, session_->RunningOffice(), source_, password_, deadline_);
    }

    Reference<css::frame::XFrame2> AttachView(Clock::time_point deadline) {
        return Guarded(
            *session_, *loaded_.office_, deadline, "laying out the document",
            [&] {
                return DocumentLayout::AttachHiddenView(loaded_.office_->context_,
                                                        loaded_.component_);
            },
            [](const std::string& message) { return message; });
    }

    // Closes the view, not the document; the page is written by then, and a dead
    // office is replaced by the next Open.
    void CloseView(const Reference<css::frame::XFrame2>& view) {
        if (view.is()) {
            try {
                CloseComponent(Reference<css::lang::XComponent>(view, UNO_QUERY));
            } catch (const ConverterError&) {
            }
        }
    }

    // Writes the document to target. Relative links are made relative to page, where
    // the page will be read, not to target.
    void Store(const std::string& target, const std::string& page) {
        const Properties properties =
            MakeProperties({{"FilterName", css::uno::Any(OUString("HTML (StarWriter)"))},
                            {"Overwrite", css::uno::Any(true)},
                            {"DocumentBaseURL", css::uno::Any(Unicode(SourceUrl(page)))}});
        Office& office = *loaded_.office_;
        Guarded(
            *session_, office, deadline_, "saving the page",
            [&] {
                Reference<css::frame::XStorable>(loaded_.component_, UNO_QUERY_THROW)
                    ->storeToURL(Unicode(FileUrl(office.process_->OfficePath(target))), properties);
            },
            [&](const std::string& message) {
                return "LibreOffice cannot write the page " + page + ": " +
                       DescribeStoreError(message, fs::path(target).parent_path().string());
            });
    }

    void CloseComponent(const Reference<css::lang::XComponent>& component) {
        Office& office = *loaded_.office_;
        if (!office.Alive()) {
            return; // the document went away with its office
        }
        // Closing is tidying up: it may overrun the document's limit a little.
        const auto deadline = std::max(deadline_, Clock::now() + std::chrono::seconds(30));
        Guarded(
            *session_, office, deadline, "closing the document",
            [&] {
                try {
                    Reference<css::util::XCloseable>(component, UNO_QUERY_THROW)->close(true);
                } catch (const css::util::CloseVetoException&) {
                    component->dispose();
                }
            },
            [](const std::string& message) {
                return "LibreOffice cannot close the document: " + message;
            });
    }

    std::shared_ptr<Session> session_;
    LoadedCopy loaded_;
    Clock::time_point deadline_;
    std::string source_;
    std::string password_;
};

} // namespace

std::string OfficeProgramFolder(const LibreOfficeSettings& settings) {
    return settings.programFolder.empty() ? PELMORA_LIBREOFFICE_PROGRAM_DIR
                                          : settings.programFolder;
}

class LibreOfficeSession::Impl final {
public:
    explicit Impl(LibreOfficeSettings settings) : session_(std::make_shared<Session>()) {
        settings.programFolder = OfficeProgramFolder(settings);
        session_->settings_ = std::move(settings);
        session_->office_ = StartOffice(session_->settings_);
    }

    std::unique_ptr<ConverterDocument> Open(const std::string& fileName,
                                            const std::string& password) {
        const std::shared_ptr<Office> office = session_->RunningOffice();
        const auto deadline = Clock::now() + session_->settings_.documentTimeLimit;
        return std::make_unique<LibreOfficeDocument>(
            session_, LoadCopy(*session_, office, fileName, password, deadline), deadline, fileName,
            password);
    }

    void Quit() {
        session_->quit_ = true;
        if (session_->office_) {
            session_->office_->ShutDown(true);
            session_->office_.reset();
        }
    }

    int OfficeProcessId() const {
        const auto& office = session_->office_;
        return office && office->process_ ? office->process_->Pid() : 0;
    }

private:
    std::shared_ptr<Session> session_;
};

LibreOfficeSession::LibreOfficeSession(LibreOfficeSettings settings)
    : impl_(std::make_unique<Impl>(std::move(settings))) {}

LibreOfficeSession::~LibreOfficeSession() {
    try {
        impl_->Quit();
    } catch (const std::exception&) {
        // The office dies with this process at the latest.
    }
}

std::unique_ptr<ConverterDocument> LibreOfficeSession::Open(const std::string& fileName,
                                                            const std::string& password) {
    return impl_->Open(fileName, password);
}

void LibreOfficeSession::Quit() {
    impl_->Quit();
}

int LibreOfficeSession::OfficeProcessId() const {
    return impl_->OfficeProcessId();
}

} // namespace pelmora
