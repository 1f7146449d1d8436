// Creates the server's class factories; creating a factory registers it with the server object.
#include "SkedraImpl/Factories.h"

#include "SkedraImpl/TaskObjectX.h"

namespace skx {

void CreateFactories() { TaskObjectXFactory(); }

}  // namespace skx
