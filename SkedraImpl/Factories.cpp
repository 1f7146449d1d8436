// Creates the server's class factories; creating a factory registers it with the server object.
#include "SkedraImpl/Factories.h"

#include "SkedraImpl/SkedraX.h"
#include "SkedraImpl/TaskObjectX.h"

namespace skx {

void CreateFactories() {
  SkedraXFactory();
  TaskObjectXFactory();
}

}  // namespace skx
