// A small script host over the platform's VBScript engine: WScript.Echo, WScript.ConnectObject
// (events by name, as a container author writes them) and a non-zero exit on any script error.
// ConnectObject connects the last event interface that the object lists, its most complete one
// (the default source where an object has only that), and passes by-reference arguments to the
// script as variants, the only kind a script can assign to, copying what it assigns back.
// With --drag N the host is a form: each connected control is shown in a window of its own, and
// at the script's first WScript.Sleep a user drags the control's first task by N pixels.
#include <windows.h>
#include <activscp.h>
#include <ocidl.h>
#include <oleauto.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "Framework/Com/ComObject.h"
#include "ScriptUser.h"

namespace {

// The import library lacks these: the 32- and 64-bit parse interfaces have different IIDs.
#ifdef _WIN64
const IID ParseIid = {0xc7ef7658, 0xe1ee, 0x480e, {0x97, 0xea, 0xd5, 0x2c, 0xb4, 0xd7, 0x6d, 0x17}};
#else
const IID ParseIid = {0xbb1a2ae2, 0xa4f9, 0x11cf, {0x8f, 0x20, 0x00, 0x80, 0x5f, 0x2c, 0xd0, 0x64}};
#endif

IActiveScript* engine = nullptr;
int scriptErrors = 0;
int dragPixels = 0;
bool dragged = false;

std::wstring ToText(const VARIANT& value) {
  VARIANT text;
  ::VariantInit(&text);
  if (FAILED(::VariantChangeType(&text, const_cast<VARIANT*>(&value), VARIANT_ALPHABOOL, VT_BSTR))) return L"<?>";
  std::wstring result = text.bstrVal != nullptr ? text.bstrVal : L"";
  ::VariantClear(&text);
  return result;
}

using skx::TDispatchObject;
using skx::TLifetime;

// The arguments of an event with each typed by-reference one (VT_BYREF | VT_BOOL, say) given as
// a by-reference variant holding its value.
class TVariantArguments {
 public:
  explicit TVariantArguments(const DISPPARAMS& params)
      : FParams(params), FArgs(params.rgvarg, params.rgvarg + params.cArgs), FValues(params.cArgs) {
    for (UINT i = 0; i < params.cArgs; ++i) {
      ::VariantInit(&FValues[i]);
      VARIANT& arg = params.rgvarg[i];
      if ((arg.vt & VT_BYREF) == 0 || arg.vt == (VT_VARIANT | VT_BYREF)) continue;
      if (FAILED(::VariantCopyInd(&FValues[i], &arg))) continue;
      FArgs[i].vt = VT_VARIANT | VT_BYREF;
      FArgs[i].pvarVal = &FValues[i];
    }
    FCopy = params;
    FCopy.rgvarg = FArgs.empty() ? nullptr : FArgs.data();
  }
  ~TVariantArguments() {
    for (VARIANT& value : FValues) ::VariantClear(&value);
  }
  TVariantArguments(const TVariantArguments&) = delete;
  TVariantArguments& operator=(const TVariantArguments&) = delete;

  DISPPARAMS* Params() { return &FCopy; }
  // Writes what the script assigned through each original reference, in its original type.
  void CopyBack() {
    for (UINT i = 0; i < FParams.cArgs; ++i) {
      const VARIANT& original = FParams.rgvarg[i];
      if (FArgs[i].vt != (VT_VARIANT | VT_BYREF) || original.vt == FArgs[i].vt) continue;
      VARIANT converted;
      ::VariantInit(&converted);
      if (SUCCEEDED(::VariantChangeType(&converted, &FValues[i], 0, original.vt & ~VT_BYREF))) {
        switch (original.vt & ~VT_BYREF) {
          case VT_BOOL: *original.pboolVal = converted.boolVal; break;
          case VT_I2: *original.piVal = converted.iVal; break;
          case VT_I4: *original.plVal = converted.lVal; break;
          default: break;
        }
      }
      ::VariantClear(&converted);
    }
  }

 private:
  const DISPPARAMS& FParams;
  std::vector<VARIANT> FArgs;
  std::vector<VARIANT> FValues;
  DISPPARAMS FCopy{};
};

// Calls the script's Sub <prefix><event name> for each event of a connected object.
class TEventForwarder : public TDispatchObject<TLifetime::Heap> {
 public:
  TEventForwarder(ITypeInfo* events, REFIID iid, std::wstring prefix)
      : TDispatchObject(1, iid), FEvents(events), FPrefix(std::move(prefix)) {
    FEvents->AddRef();
  }
  ~TEventForwarder() override { FEvents->Release(); }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID lcid, WORD, DISPPARAMS* params, VARIANT* result,
                                   EXCEPINFO* excep, UINT* argErr) override {
    BSTR name = nullptr;
    UINT count = 0;
    if (FAILED(FEvents->GetNames(id, &name, 1, &count)) || count == 0) return S_OK;
    std::wstring handler = FPrefix + name;
    ::SysFreeString(name);
    IDispatch* script = nullptr;
    if (FAILED(engine->GetScriptDispatch(nullptr, &script))) return S_OK;
    LPOLESTR names[] = {&handler[0]};
    DISPID handlerId = 0;
    HRESULT hr = S_OK;
    if (SUCCEEDED(script->GetIDsOfNames(IID_NULL, names, 1, lcid, &handlerId))) {
      TVariantArguments arguments(*params);
      hr = script->Invoke(handlerId, IID_NULL, lcid, DISPATCH_METHOD, arguments.Params(), result, excep, argErr);
      arguments.CopyBack();
    }
    script->Release();
    return hr;
  }

 private:
  ITypeInfo* FEvents;
  std::wstring FPrefix;
};

struct TConnection {
  IConnectionPoint* Point;
  DWORD Cookie;
};
std::vector<TConnection> connections;

// The last connection point that the object lists, or null.
IConnectionPoint* LastConnectionPoint(IDispatch* object) {
  IConnectionPointContainer* container = nullptr;
  if (FAILED(object->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container)))) return nullptr;
  IEnumConnectionPoints* points = nullptr;
  IConnectionPoint* last = nullptr;
  if (SUCCEEDED(container->EnumConnectionPoints(&points))) {
    IConnectionPoint* point = nullptr;
    while (points->Next(1, &point, nullptr) == S_OK) {
      if (last != nullptr) last->Release();
      last = point;
    }
    points->Release();
  }
  container->Release();
  return last;
}

void ConnectObject(IDispatch* object, const std::wstring& prefix) {
  IProvideClassInfo2* classInfo = nullptr;
  if (FAILED(object->QueryInterface(IID_IProvideClassInfo2, reinterpret_cast<void**>(&classInfo)))) return;
  ITypeInfo* coclass = nullptr;
  classInfo->GetClassInfo(&coclass);
  classInfo->Release();
  TConnection connection{LastConnectionPoint(object), 0};
  GUID iid{};
  if (connection.Point == nullptr || FAILED(connection.Point->GetConnectionInterface(&iid))) {
    if (connection.Point != nullptr) connection.Point->Release();
    coclass->Release();
    return;
  }
  ITypeLib* library = nullptr;
  UINT index = 0;
  ITypeInfo* events = nullptr;
  coclass->GetContainingTypeLib(&library, &index);
  library->GetTypeInfoOfGuid(iid, &events);
  library->Release();
  coclass->Release();
  auto* forwarder = new TEventForwarder(events, iid, prefix);
  events->Release();
  connection.Point->Advise(forwarder, &connection.Cookie);
  forwarder->Release();
  connections.push_back(connection);
  if (dragPixels != 0 && !skx::scripthost::ShowControl(object)) {
    std::printf("SCRIPT ERROR: the control cannot be shown\n");
    ++scriptErrors;
  }
}

// The user's one drag happens while the script first waits.
void WaitForUser(const VARIANT& milliseconds) {
  if (dragPixels != 0 && !dragged) {
    dragged = true;
    if (!skx::scripthost::DragFirstTask(dragPixels)) {
      std::printf("SCRIPT ERROR: no task to drag\n");
      ++scriptErrors;
    }
  }
  VARIANT count;
  ::VariantInit(&count);
  if (SUCCEEDED(::VariantChangeType(&count, const_cast<VARIANT*>(&milliseconds), 0, VT_UI4)))
    skx::scripthost::PumpMessagesFor(count.ulVal);
}

// The WScript object: Echo, ConnectObject and Sleep.
class TWScript : public TDispatchObject<TLifetime::Heap> {
 public:
  enum : DISPID { idEcho = 1, idConnectObject = 2, idSleep = 3 };
  TWScript() : TDispatchObject(1, IID_IDispatch) {}
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
    if (count != 1) return DISP_E_UNKNOWNNAME;
    if (::lstrcmpiW(names[0], L"Echo") == 0) {
      ids[0] = idEcho;
    } else if (::lstrcmpiW(names[0], L"ConnectObject") == 0) {
      ids[0] = idConnectObject;
    } else if (::lstrcmpiW(names[0], L"Sleep") == 0) {
      ids[0] = idSleep;
    } else {
      ids[0] = DISPID_UNKNOWN;
      return DISP_E_UNKNOWNNAME;
    }
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                                   UINT*) override {
    if (id == idEcho) {
      std::wstring line;
      for (UINT i = params->cArgs; i > 0; --i) line += (line.empty() ? L"" : L" ") + ToText(params->rgvarg[i - 1]);
      std::printf("%ls\n", line.c_str());
      std::fflush(stdout);
      return S_OK;
    }
    if (id == idConnectObject && params->cArgs == 2) {
      // A script variable arrives by reference.
      VARIANT& arg = params->rgvarg[1];
      VARIANT& object = arg.vt == (VT_VARIANT | VT_BYREF) ? *arg.pvarVal : arg;
      IDispatch* target = object.vt == VT_DISPATCH                ? object.pdispVal
                          : object.vt == (VT_DISPATCH | VT_BYREF) ? *object.ppdispVal
                                                                  : nullptr;
      if (target == nullptr) return DISP_E_TYPEMISMATCH;
      ConnectObject(target, ToText(params->rgvarg[0]));
      return S_OK;
    }
    if (id == idSleep && params->cArgs == 1) {
      WaitForUser(params->rgvarg[0]);
      return S_OK;
    }
    return DISP_E_MEMBERNOTFOUND;
  }
};

class TSite : public IActiveScriptSite {
 public:
  explicit TSite(IDispatch* wscript) : FWScript(wscript) {}
  virtual ~TSite() = default;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (::IsEqualIID(riid, IID_IUnknown) || ::IsEqualIID(riid, IID_IActiveScriptSite)) {
      *object = static_cast<IActiveScriptSite*>(this);
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE GetLCID(LCID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetItemInfo(LPCOLESTR name, DWORD mask, IUnknown** item, ITypeInfo** info) override {
    if (info != nullptr) *info = nullptr;
    if (item != nullptr) *item = nullptr;
    if (::lstrcmpiW(name, L"WScript") != 0) return TYPE_E_ELEMENTNOTFOUND;
    if ((mask & SCRIPTINFO_IUNKNOWN) != 0) {
      *item = FWScript;
      FWScript->AddRef();
    }
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetDocVersionString(BSTR*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE OnScriptTerminate(const VARIANT*, const EXCEPINFO*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnStateChange(SCRIPTSTATE) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnScriptError(IActiveScriptError* error) override {
    ++scriptErrors;
    EXCEPINFO excep{};
    error->GetExceptionInfo(&excep);
    DWORD context = 0;
    ULONG line = 0;
    LONG column = 0;
    error->GetSourcePosition(&context, &line, &column);
    std::printf("SCRIPT ERROR line %lu: %ls (%08lx)\n", line + 1,
                excep.bstrDescription != nullptr ? excep.bstrDescription : L"",
                static_cast<unsigned long>(excep.scode));
    ::SysFreeString(excep.bstrSource);
    ::SysFreeString(excep.bstrDescription);
    ::SysFreeString(excep.bstrHelpFile);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE OnEnterScript() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnLeaveScript() override { return S_OK; }

 private:
  IDispatch* FWScript;
};

// With --answer-dialogs, a second thread confirms every dialog captioned "Task" that the
// script's thread shows, as a user pressing OK.
std::atomic<bool> scriptDone{false};

BOOL CALLBACK ConfirmTaskDialog(HWND window, LPARAM) {
  wchar_t caption[16] = {};
  ::GetWindowTextW(window, caption, 16);
  if (::IsWindowVisible(window) && ::lstrcmpW(caption, L"Task") == 0) ::PostMessageW(window, WM_COMMAND, IDOK, 0);
  return TRUE;
}

void AnswerDialogs(DWORD thread) {
  while (!scriptDone) {
    ::EnumThreadWindows(thread, &ConfirmTaskDialog, 0);
    ::Sleep(50);
  }
}

int RunScript(const std::wstring& text) {
  CLSID vbscript{};
  if (FAILED(::CLSIDFromProgID(L"VBScript", &vbscript)) ||
      FAILED(::CoCreateInstance(vbscript, nullptr, CLSCTX_INPROC_SERVER, IID_IActiveScript,
                                reinterpret_cast<void**>(&engine)))) {
    std::printf("SCRIPT ERROR: no VBScript engine\n");
    return 2;
  }
  IActiveScriptParse* parse = nullptr;
  engine->QueryInterface(ParseIid, reinterpret_cast<void**>(&parse));
  auto* wscript = new TWScript;
  TSite site(wscript);
  parse->InitNew();
  engine->SetScriptSite(&site);
  engine->AddNamedItem(L"WScript", SCRIPTITEM_ISVISIBLE);
  EXCEPINFO excep{};
  parse->ParseScriptText(text.c_str(), nullptr, nullptr, nullptr, 0, 0, SCRIPTTEXT_ISVISIBLE, nullptr, &excep);
  engine->SetScriptState(SCRIPTSTATE_CONNECTED);
  for (TConnection& connection : connections) {
    connection.Point->Unadvise(connection.Cookie);
    connection.Point->Release();
  }
  connections.clear();
  engine->Close();
  parse->Release();
  engine->Release();
  wscript->Release();
  return scriptErrors == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  bool answerDialogs = false;
  bool usage = argc < 2;
  for (int i = 2; i < argc && !usage; ++i) {
    const std::string option = argv[i];
    if (option == "--answer-dialogs")
      answerDialogs = true;
    else if (option == "--drag" && i + 1 < argc)
      dragPixels = std::atoi(argv[++i]);
    else
      usage = true;
  }
  if (usage) {
    std::printf("usage: skx_script_host file.vbs [--answer-dialogs] [--drag pixels]\n");
    return 2;
  }
  std::ifstream file(argv[1], std::ios::binary);
  if (!file) {
    std::printf("SCRIPT ERROR: cannot read %s\n", argv[1]);
    return 2;
  }
  std::stringstream bytes;
  bytes << file.rdbuf();
  std::string narrow = bytes.str();
  std::wstring text(narrow.begin(), narrow.end());  // the scripts are plain ASCII
  ::CoInitialize(nullptr);
  std::thread answering;
  if (answerDialogs) answering = std::thread(AnswerDialogs, ::GetCurrentThreadId());
  int result = RunScript(text);
  scriptDone = true;
  if (answering.joinable()) answering.join();
  ::CoUninitialize();
  return result;
}
