#include "control/installer.h"

#include "base/codepage.h"
#include "base/result.h"
#include "control/dialog_template.h"
#include "control/error_report.h"
#include "control/installer_ids.h"
#include "control/module/module_state.h"
#include "control/resource.h"
#include "control/skin_builder.h"
#include "files/local_files.h"
#include "files/skin_archive.h"
#include "files/staged_fetch.h"
#include "net/engine_texts.h"
#include "net/last_error.h"
#include "net/system_message.h"

#include <memory>
#include <optional>
#include <string_view>

namespace {

constexpr int kReceiveBufferSize = 102400;

// Texts of the values a page may not set: each would let it write outside the folder the
// value is joined to.
constexpr char kUnsafeBasePath[] =
    "기본 폴더(BasePath 속성)는 임시 폴더 안의 상대 경로여야 합니다.";
constexpr char kUnsafeInfoFileName[] =
    "스킨파일명(InfoFileName 속성)은 기본 폴더 안의 상대 경로여야 합니다.";
constexpr char kUnsafeFileName[] =
    "다운로드 파일명은 다운로드 폴더 안의 상대 경로여야 합니다.";
constexpr char kMissingInfoFileName[] = "스킨파일명(InfoFileName 속성)을 지정해 주십시오.";
constexpr char kBusyWithInit[] = "Init이 끝나기 전에는 Init을 호출하거나 속성을 바꿀 수 없습니다.";
constexpr char kBusyWithTransfer[] = "다운로드 중에는 Init을 호출하거나 속성을 바꿀 수 없습니다.";
constexpr int32_t kBusyCode = HRESULT_FROM_WIN32(ERROR_BUSY);
// Without the temporary folder there is no base folder: the value alone would be relative
// to whatever folder is current.
constexpr char kNoTempFolder[] = "사용자 임시 폴더를 찾을 수 없어 기본 폴더를 정할 수 없습니다.";

// Script text in the ANSI code page, only when every character has an ANSI form of its own:
// the default character '?' is a wildcard, and a best fit can turn a harmless character
// into a separator, so inexact text would name another file than the one asked for.
std::optional<std::string> ExactAnsi(BSTR value) {
    return kv::WideToAnsiExact(std::wstring_view(value ? value : L"", ::SysStringLen(value)));
}

HRESULT ToBstr(const std::string& value, BSTR* out) {
    if (!out) return E_POINTER;
    const std::wstring wide = kv::AnsiToWide(value);
    *out = ::SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
}

using InterfaceGetter = void* (*)(CInstaller&);
struct InterfaceEntry {
    const IID& iid;
    InterfaceGetter get;
};

// The interface table, in the order in which hosts find the control's interfaces.
const InterfaceEntry kInterfaces[] = {
    {__uuidof(IInstaller), [](CInstaller& o) -> void* { return static_cast<IInstaller*>(&o.automation); }},
    {__uuidof(IDispatch), [](CInstaller& o) -> void* { return static_cast<IDispatch*>(&o.automation); }},
    {__uuidof(IViewObjectEx), [](CInstaller& o) -> void* { return static_cast<IViewObjectEx*>(&o.view); }},
    {__uuidof(IViewObject2), [](CInstaller& o) -> void* { return static_cast<IViewObject2*>(&o.view); }},
    {__uuidof(IViewObject), [](CInstaller& o) -> void* { return static_cast<IViewObject*>(&o.view); }},
    {__uuidof(IOleInPlaceObjectWindowless),
     [](CInstaller& o) -> void* { return static_cast<IOleInPlaceObjectWindowless*>(&o.inPlace); }},
    {__uuidof(IOleInPlaceObject),
     [](CInstaller& o) -> void* { return static_cast<IOleInPlaceObject*>(&o.inPlace); }},
    {__uuidof(IOleWindow),
     [](CInstaller& o) -> void* { return static_cast<IOleWindow*>(static_cast<IOleInPlaceObject*>(&o.inPlace)); }},
    {__uuidof(IOleInPlaceActiveObject),
     [](CInstaller& o) -> void* { return static_cast<IOleInPlaceActiveObject*>(&o.inPlace); }},
    {__uuidof(IOleControl), [](CInstaller& o) -> void* { return static_cast<IOleControl*>(&o.control); }},
    {__uuidof(IOleObject), [](CInstaller& o) -> void* { return static_cast<IOleObject*>(&o.oleObject); }},
    {__uuidof(IPersistStreamInit),
     [](CInstaller& o) -> void* { return static_cast<IPersistStreamInit*>(&o.persist); }},
    {__uuidof(IPersist),
     [](CInstaller& o) -> void* { return static_cast<IPersist*>(static_cast<IPersistStreamInit*>(&o.persist)); }},
    {__uuidof(ISupportErrorInfo),
     [](CInstaller& o) -> void* { return static_cast<ISupportErrorInfo*>(&o.classInfo); }},
    {__uuidof(IConnectionPointContainer),
     [](CInstaller& o) -> void* { return static_cast<IConnectionPointContainer*>(&o.connectionPoints); }},
    {__uuidof(ISpecifyPropertyPages),
     [](CInstaller& o) -> void* { return static_cast<ISpecifyPropertyPages*>(&o.classInfo); }},
    {__uuidof(IQuickActivate), [](CInstaller& o) -> void* { return static_cast<IQuickActivate*>(&o.control); }},
    {__uuidof(IPersistStorage), [](CInstaller& o) -> void* { return static_cast<IPersistStorage*>(&o.persist); }},
    {__uuidof(IDataObject), [](CInstaller& o) -> void* { return static_cast<IDataObject*>(&o.dataObject); }},
    {__uuidof(IProvideClassInfo),
     [](CInstaller& o) -> void* { return static_cast<IProvideClassInfo*>(&o.classInfo); }},
    {__uuidof(IProvideClassInfo2),
     [](CInstaller& o) -> void* { return static_cast<IProvideClassInfo2*>(&o.classInfo); }},
    {__uuidof(IObjectSafety), [](CInstaller& o) -> void* { return static_cast<IObjectSafety*>(&o.safety); }},
};

}  // namespace

CInstaller::ModuleLockHolder::ModuleLockHolder() { ModuleLock(); }
CInstaller::ModuleLockHolder::~ModuleLockHolder() { ModuleUnlock(); }

HRESULT CInstaller::Create(IUnknown* outer, REFIID riid, void** object) noexcept try {
    RETURN_IF_FAILED(ClearOut(object));
    if (outer && riid != IID_IUnknown) return CLASS_E_NOAGGREGATION;
    // From here on the reference count owns the object.
    CInstaller* created = std::make_unique<CInstaller>(outer).release();
    const HRESULT hr = created->QueryInterface(riid, object);
    created->Release();
    return hr;
} CATCH_RETURN()

CInstaller::CInstaller(IUnknown* outer)
    : controlling_(outer ? outer : static_cast<IUnknown*>(this)),
      automation(controlling_, *this),
      view(controlling_, *this),
      inPlace(controlling_, *this),
      control(controlling_, *this),
      oleObject(controlling_, *this),
      persist(controlling_, *this),
      classInfo(controlling_),
      connectionPoints(controlling_, *this),
      dataObject(controlling_, *this),
      safety(controlling_, siteGuard),
      eventSource(controlling_, &connectionPoints) {
    embedding.extent = DefaultExtentFromTemplate(KorvendalModuleInstance(), IDD_INSTALLER);
}

CInstaller::~CInstaller() {
    // The window's procedure reaches back into this object while it is destroyed.
    embedding.window.reset();
    eventSource.DisconnectAll();
}

HRESULT CInstaller::QueryInterface(REFIID riid, void** object) {
    RETURN_IF_FAILED(ClearOut(object));
    if (riid == IID_IUnknown) {
        *object = static_cast<IUnknown*>(this);
        AddRef();
        return S_OK;
    }
    for (const InterfaceEntry& entry : kInterfaces) {
        if (entry.iid == riid) {
            *object = entry.get(*this);
            // Through the interface itself, so an aggregated object counts on its outer object.
            static_cast<IUnknown*>(*object)->AddRef();
            return S_OK;
        }
    }
    return E_NOINTERFACE;
}

ULONG CInstaller::AddRef() { return static_cast<ULONG>(::InterlockedIncrement(&references_)); }

ULONG CInstaller::Release() {
    const LONG left = ::InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
}

HRESULT CInstaller::GetBasePath(BSTR* value) noexcept try {
    return ToBstr(basePath, value);
} CATCH_RETURN()

HRESULT CInstaller::PutBasePath(BSTR value) noexcept try {
    RETURN_IF_FAILED(RefuseWhileBusy());
    const std::optional<std::string> requested = ExactAnsi(value);
    if (!requested || !IsContainedRelativePath(*requested))
        return ReportError(E_INVALIDARG, kUnsafeBasePath);
    std::string folder = MakeBasePath(GetTempFolder(), *requested);
    if (folder.empty()) return ReportError(E_FAIL, kNoTempFolder);
    basePath = std::move(folder);
    CreateFolderTree(basePath, false);
    return S_OK;
} CATCH_RETURN()

HRESULT CInstaller::GetInfoFileName(BSTR* value) noexcept try {
    return ToBstr(infoFileName, value);
} CATCH_RETURN()

HRESULT CInstaller::PutInfoFileName(BSTR value) noexcept try {
    RETURN_IF_FAILED(RefuseWhileBusy());
    std::optional<std::string> requested = ExactAnsi(value);
    if (!requested || !IsContainedRelativePath(*requested))
        return ReportError(E_INVALIDARG, kUnsafeInfoFileName);
    infoFileName = std::move(*requested);
    return S_OK;
} CATCH_RETURN()

HRESULT CInstaller::Init(BSTR url, BSTR file) noexcept try {
    // Init's transfers pump messages: a page's timer may call Init again or change a
    // property meanwhile, and the user may have a transfer running on the same downloader.
    RETURN_IF_FAILED(RefuseWhileBusy());
    // The engine pumps messages while it waits; a handler may release the control meanwhile.
    // Declared first, so that the object is still there when the flag below is cleared.
    const kv::ComPtr<IUnknown> keepAlive(controlling_);
    initRunning_ = true;
    struct InitScope {
        bool& running;
        ~InitScope() { running = false; }
    } scope{initRunning_};
    // A URL or file name without an exact ANSI form names something else than was asked
    // for: it is refused like an empty URL, before anything is changed or sent.
    std::optional<std::string> server = ExactAnsi(url);
    std::optional<std::string> requested = ExactAnsi(file);
    if (!server || !requested) return E_INVALIDARG;
    baseUrl = std::move(*server);
    if (baseUrl.empty()) return E_INVALIDARG;
    if (baseUrl.back() != '/') baseUrl += '/';
    if (!IsContainedRelativePath(*requested)) return ReportError(E_INVALIDARG, kUnsafeFileName);
    fileName = std::move(*requested);
    if (infoFileName.empty()) return ReportError(E_FAIL, kMissingInfoFileName);
    RETURN_IF_FAILED(FetchSkinArchive());
    controller.SetInitialized();
    return BuildSkin();
} CATCH_RETURN()

HRESULT CInstaller::FetchSkinArchive() {
    const std::string archivePath = MakeSkinPath(basePath, infoFileName);
    if (archivePath.empty()) return ReportError(E_FAIL, kNoTempFolder);
    // An archive on disk is used as it is: only whole archives are ever moved there.
    if (FileExists(archivePath)) return S_OK;
    // Before the window exists the engine is started here, without a window to notify;
    // the window binds it to itself when it is initialised.
    if (!downloader.IsInitialized()) (void)downloader.Initialize(nullptr, kReceiveBufferSize);
    const std::string archiveUrl = baseUrl + infoFileName;
    int64_t size = 0;
    if (!downloader.QueryFileSize(archiveUrl, size)) return ReportError(lastErrorCode, lastErrorText);
    if (size == 0) {
        return ReportError(404, "지정된 파일(" + baseUrl + infoFileName + ")의 크기가 0바이트 입니다.");
    }
    // The archive's transfer is not the user's: its notices would reach the window after
    // Init has returned and show the target file as downloaded. Nothing is posted for it.
    downloader.SetNotifyWindow(nullptr);
    struct NotifyAgain {
        CInstaller& installer;
        ~NotifyAgain() { installer.downloader.SetNotifyWindow(installer.embedding.window.get()); }
    } notifyAgain{*this};
    const StagedFetch fetched = FetchIntoPlace(archivePath, size, [&](const std::string& staging) {
        return downloader.Download(archiveUrl, staging);
    });
    switch (fetched) {
    case StagedFetch::Placed:
        break;
    case StagedFetch::FetchFailed:
        return ReportError(lastErrorCode, lastErrorText);
    case StagedFetch::Incomplete:  // a stopped transfer, or a body without length cut short
        return ReportError(-1, kv::kTruncatedBodyText);
    case StagedFetch::NotPlaced: {
        const DWORD error = ::GetLastError();
        return ReportError(static_cast<int32_t>(error), kv::SystemMessage(error));
    }
    }
    // A damaged archive shows later as missing skin files.
    (void)ExtractSkinArchive(archivePath, basePath);
    return S_OK;
}

HRESULT CInstaller::BuildSkin() {
    TransferTarget& target = controller.target();
    target.url = baseUrl + fileName;
    target.fileName = fileName;
    HRESULT hr = S_OK;
    if (embedding.window) {
        const SkinBuildContext context{embedding.window.get(), basePath, children, controller, downloader};
        LoadSkin(context);
        hr = LayoutSkinWindow(context);
    } else {
        hr = CheckSkinDefinition(basePath);
    }
    if (FAILED(hr)) {
        // A bad definition has no description of its own; an older error object of the
        // thread must not stand in for one.
        ::SetErrorInfo(0, nullptr);
        return E_INVALIDARG;
    }
    return S_OK;
}

void CInstaller::OnWindowCreated(HWND window) {
    embedding.window.reset(window);
    // A window created again while a transfer runs keeps the transfer's receive buffer.
    if (downloader.IsInitialized()) {
        downloader.SetNotifyWindow(window);
    } else {
        // A failure shows later, when a transfer fails.
        (void)downloader.Initialize(window, kReceiveBufferSize);
    }
    children.Create(window);
    controller.Attach(window);
    if (controller.initialized()) {
        const SkinBuildContext context{window, basePath, children, controller, downloader};
        LoadSkin(context);
        // The definition was checked when Init ran.
        (void)LayoutSkinWindow(context);
    }
}

HRESULT CInstaller::RefuseWhileBusy() const {
    if (initRunning_) return ReportError(kBusyCode, kBusyWithInit);
    if (controller.downloading()) return ReportError(kBusyCode, kBusyWithTransfer);
    return S_OK;
}
