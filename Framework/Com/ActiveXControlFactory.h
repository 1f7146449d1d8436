// The class factory of an ActiveX control: its window-control class and its registry entries.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "Framework/Com/ClassFactory.h"
#include "Framework/Core/Controls.h"
#include "Framework/Core/PropertyStore.h"

namespace skx {

// What the control base needs of the window control's class: how to make one, and how its
// published properties go into a saved state and come back.
struct TWindowControlClass {
  std::function<std::unique_ptr<TWinControl>()> Create;
  std::function<void(const TWinControl&, TPropertyStore&)> WriteState;
  std::function<void(TWinControl&, const TPropertyStore&)> ReadState;
};

class TActiveXControlFactory : public TAutoObjectFactory {
 public:
  // moreEventInterfaces: source interfaces served beside the class's default one, each by a
  // connection point of its own.
  TActiveXControlFactory(TComServer& server, const wchar_t* objectClassName, REFCLSID classId,
                         TCreator creator, TWindowControlClass controlClass, int toolboxBitmap,
                         DWORD miscStatus, REFIID dispatchInterface = IID_NULL,
                         std::vector<IID> moreEventInterfaces = {});

  const TWindowControlClass& ControlClass() const { return FControlClass; }
  // The status that the control reports and registers: the server's own flags and those that
  // every control of this framework has.
  DWORD MiscStatus() const;
  // The source interfaces, each served by a connection point: the class's default one (index 0),
  // then the others.
  size_t EventInterfaceCount() const { return 1 + FMoreEventIids.size(); }
  REFIID EventInterface(size_t index = 0);

  void UpdateRegistry(bool add) override;

 private:
  TWindowControlClass FControlClass;
  int FToolboxBitmap;
  DWORD FMiscStatus;
  IID FEventIid = IID_NULL;
  std::vector<IID> FMoreEventIids;
};

}  // namespace skx
