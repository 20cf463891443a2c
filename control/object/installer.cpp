#include "control/object/installer.h"

#include "base/codepage.h"
#include "base/result.h"
#include "base/timeline.h"
#include "control/download/init_pipeline.h"
#include "control/object/dialog_template.h"
#include "control/object/error_report.h"
#include "control/object/installer_ids.h"
#include "control/object/server_state.h"
#include "control/resource.h"
#include "control/window/skin_applier.h"
#include "files/local_files.h"

#include <memory>
#include <optional>
#include <string_view>

namespace {

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
      events_(controlling_, &connectionPoints_),
      automation_(controlling_, *this, siteGuard_, embedding_),
      view_(controlling_, embedding_),
      inPlace_(controlling_, embedding_, *this),
      oleObject_(controlling_, embedding_, inPlace_, view_, siteGuard_),
      control_(controlling_, embedding_, oleObject_, view_, events_),
      persist_(controlling_, embedding_),
      classInfo_(controlling_),
      connectionPoints_(controlling_, events_),
      dataObject_(controlling_, embedding_),
      safety_(controlling_, siteGuard_),
      controllerOwner_(controlling_, events_, embedding_),
      controller_(panel_, controllerOwner_, engine_, clock_) {
    embedding_.extent = DefaultExtentFromTemplate(KorvendalModuleInstance(), IDD_INSTALLER);
}

CInstaller::~CInstaller() {
    // The window's procedure reaches back into this object while it is destroyed.
    embedding_.window.reset();
    events_.DisconnectAll();
}

void* CInstaller::FindInterface(REFIID riid) {
    // The interface table, in the order in which hosts find the control's interfaces.
    const struct {
        const IID& iid;
        void* part;
    } interfaces[] = {
        {__uuidof(IInstaller), static_cast<IInstaller*>(&automation_)},
        {__uuidof(IDispatch), static_cast<IDispatch*>(&automation_)},
        {__uuidof(IViewObjectEx), static_cast<IViewObjectEx*>(&view_)},
        {__uuidof(IViewObject2), static_cast<IViewObject2*>(&view_)},
        {__uuidof(IViewObject), static_cast<IViewObject*>(&view_)},
        {__uuidof(IOleInPlaceObjectWindowless), static_cast<IOleInPlaceObjectWindowless*>(&inPlace_)},
        {__uuidof(IOleInPlaceObject), static_cast<IOleInPlaceObject*>(&inPlace_)},
        {__uuidof(IOleWindow), static_cast<IOleWindow*>(static_cast<IOleInPlaceObject*>(&inPlace_))},
        {__uuidof(IOleInPlaceActiveObject), static_cast<IOleInPlaceActiveObject*>(&inPlace_)},
        {__uuidof(IOleControl), static_cast<IOleControl*>(&control_)},
        {__uuidof(IOleObject), static_cast<IOleObject*>(&oleObject_)},
        {__uuidof(IPersistStreamInit), static_cast<IPersistStreamInit*>(&persist_)},
        {__uuidof(IPersist), static_cast<IPersist*>(static_cast<IPersistStreamInit*>(&persist_))},
        {__uuidof(ISupportErrorInfo), static_cast<ISupportErrorInfo*>(&classInfo_)},
        {__uuidof(IConnectionPointContainer), static_cast<IConnectionPointContainer*>(&connectionPoints_)},
        {__uuidof(ISpecifyPropertyPages), static_cast<ISpecifyPropertyPages*>(&classInfo_)},
        {__uuidof(IQuickActivate), static_cast<IQuickActivate*>(&control_)},
        {__uuidof(IPersistStorage), static_cast<IPersistStorage*>(&persist_)},
        {__uuidof(IDataObject), static_cast<IDataObject*>(&dataObject_)},
        {__uuidof(IProvideClassInfo), static_cast<IProvideClassInfo*>(&classInfo_)},
        {__uuidof(IProvideClassInfo2), static_cast<IProvideClassInfo2*>(&classInfo_)},
        {__uuidof(IObjectSafety), static_cast<IObjectSafety*>(&safety_)},
    };
    for (const auto& entry : interfaces) {
        if (entry.iid == riid) return entry.part;
    }
    return nullptr;
}

HRESULT CInstaller::QueryInterface(REFIID riid, void** object) {
    RETURN_IF_FAILED(ClearOut(object));
    if (riid == IID_IUnknown) {
        *object = static_cast<IUnknown*>(this);
        AddRef();
        return S_OK;
    }
    *object = FindInterface(riid);
    if (!*object) return E_NOINTERFACE;
    // Through the interface itself, so an aggregated object counts on its outer object.
    static_cast<IUnknown*>(*object)->AddRef();
    return S_OK;
}

ULONG CInstaller::AddRef() { return static_cast<ULONG>(::InterlockedIncrement(&references_)); }

ULONG CInstaller::Release() {
    const LONG left = ::InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
}

HRESULT CInstaller::GetBasePath(BSTR* value) noexcept try {
    return ToBstr(basePath_, value);
} CATCH_RETURN()

HRESULT CInstaller::PutBasePath(BSTR value) noexcept try {
    RETURN_IF_FAILED(RefuseWhileBusy());
    const std::optional<std::string> requested = ExactAnsi(value);
    if (!requested || !IsContainedRelativePath(*requested))
        return ReportError(E_INVALIDARG, kUnsafeBasePath);
    std::string folder = MakeBasePath(GetTempFolder(), *requested);
    if (folder.empty()) return ReportError(E_FAIL, kv::kNoTempFolderText);
    basePath_ = std::move(folder);
    CreateFolderTree(basePath_, false);
    return S_OK;
} CATCH_RETURN()

HRESULT CInstaller::GetInfoFileName(BSTR* value) noexcept try {
    return ToBstr(infoFileName_, value);
} CATCH_RETURN()

HRESULT CInstaller::PutInfoFileName(BSTR value) noexcept try {
    RETURN_IF_FAILED(RefuseWhileBusy());
    std::optional<std::string> requested = ExactAnsi(value);
    if (!requested || !IsContainedRelativePath(*requested))
        return ReportError(E_INVALIDARG, kUnsafeInfoFileName);
    infoFileName_ = std::move(*requested);
    return S_OK;
} CATCH_RETURN()

HRESULT CInstaller::Init(BSTR url, BSTR file) noexcept try {
    // Init's transfers pump messages: a page's timer may call Init again or change a
    // property meanwhile, and the user may have a transfer running.
    RETURN_IF_FAILED(RefuseWhileBusy());
    const kv::TimelineSpan timeline("init");
    // The engine pumps messages while it waits; a handler may release the control meanwhile.
    // Declared first, so that the object is still there when the flags below are cleared.
    const kv::ComPtr<IUnknown> keepAlive(controlling_);
    initRunning_ = true;
    controller_.SetPreparing(true);
    struct InitScope {
        CInstaller& installer;
        ~InitScope() {
            installer.initRunning_ = false;
            installer.controller_.SetPreparing(false);
        }
    } scope{*this};
    // A URL or file name without an exact ANSI form names something else than was asked
    // for: it is refused like an empty URL, before anything is changed or sent.
    std::optional<std::string> server = ExactAnsi(url);
    std::optional<std::string> requested = ExactAnsi(file);
    if (!server || !requested) return E_INVALIDARG;
    baseUrl_ = std::move(*server);
    if (baseUrl_.empty()) return E_INVALIDARG;
    if (baseUrl_.back() != '/') baseUrl_ += '/';
    if (!IsContainedRelativePath(*requested)) return ReportError(E_INVALIDARG, kUnsafeFileName);
    fileName_ = std::move(*requested);
    if (infoFileName_.empty()) return ReportError(E_FAIL, kMissingInfoFileName);
    kv::UnpackedFiles unpacked;
    if (const std::optional<kv::Failure> failure = kv::PlaceSkinArchive(baseUrl_, infoFileName_, basePath_, unpacked))
        return ReportError(failure->code, failure->text);
    // A new job: its own size query, its own folder, nothing of the last job.
    kv::NewJob job;
    job.url = baseUrl_ + fileName_;
    job.fileName = fileName_;
    kv::TimelineMark("folder begin");
    job.downloadFolder = kv::DocumentsFolder(embedding_.window.get());
    kv::TimelineMark("folder end");
    kv::TimelineMark("target size begin");
    job.remoteSize = kv::QueryRemoteSize(job.url);
    kv::TimelineMark("target size end");
    kv::TimelineMark("local state begin");
    controller_.BeginJob(job);
    kv::TimelineMark("local state end");
    return BuildSkin(unpacked);
} CATCH_RETURN()

HRESULT CInstaller::BuildSkin(const kv::UnpackedFiles& unpacked) {
    HRESULT hr = S_OK;
    if (embedding_.window) {
        ApplySkinPictures(basePath_, panel_, &unpacked);
        kv::TimelineMark("layout begin");
        hr = LayoutSkinWindow(basePath_, panel_);
        kv::TimelineMark("layout end");
    } else {
        hr = CheckSkinDefinition(basePath_);
    }
    if (FAILED(hr)) {
        // A bad definition has no description of its own; an older error object of the
        // thread must not stand in for one.
        ::SetErrorInfo(0, nullptr);
        return E_INVALIDARG;
    }
    return S_OK;
}

HWND CInstaller::CreateControlWindowIn(HWND parent) {
    return CreateControlWindow(*this, KorvendalModuleInstance(), parent);
}

void CInstaller::OnWindowCreated(HWND window) {
    embedding_.window.reset(window);
    panel_.Create(window);
    controller_.Attach(window);
    if (controller_.initialized()) {
        ApplySkinPictures(basePath_, panel_);
        // The definition was checked when Init ran.
        (void)LayoutSkinWindow(basePath_, panel_);
    }
    events_.FireOnCreate();
}

bool CInstaller::OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    // The window's own focus and the checks it posts belong to the panel's keyboard.
    return controller_.OnMessage(message, wParam, lParam) || panel_.OnFocusMessage(message);
}

void CInstaller::OnWindowDestroying() {
    // A transfer still running is asked to stop, and posts nothing to this window.
    controller_.Detach();
}

void CInstaller::OnWindowGone(HWND window) {
    // Destroyed from outside (the site window went away): forget the handle.
    if (embedding_.window.get() == window) (void)embedding_.window.release();
}

HRESULT CInstaller::RefuseWhileBusy() const {
    if (initRunning_) return ReportError(kBusyCode, kBusyWithInit);
    if (controller_.downloading()) return ReportError(kBusyCode, kBusyWithTransfer);
    return S_OK;
}
