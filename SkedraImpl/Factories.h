// The class factories of the server, created once when the library is loaded.
#pragma once

namespace skx {

void CreateFactories();

}  // namespace skx
