// The plain placement, kept as the reference that the grid's own placement must match exactly:
// every pass compares each task with every other one and reads each column's date again.
#pragma once

namespace skx {
class TSkedra;
}

namespace skx::test {

// Places the markers of every task of the grid's collection as TTaskItems::Arrange does.
void ReferenceArrange(TSkedra& grid);

}  // namespace skx::test
