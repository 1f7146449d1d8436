// Late-bound calls on a container's event sink.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <vector>

namespace skx {

// The sink's event interface, or its IDispatch when it does not answer for the event interface
// by name; null when it has neither. One reference for the caller.
IDispatch* QueryEventSink(IUnknown* sink, REFIID eventIid);

VARIANT DispatchArg(IDispatch* value);
VARIANT ByRefLongArg(LONG* value);
VARIANT ByRefShortArg(SHORT* value);
VARIANT ByRefBoolArg(VARIANT_BOOL* value);
VARIANT DoubleArg(double value);

enum class TMissingEvent { Fails, Ignored };

// Invokes id on the sink as a method; args are in declaration order. A failure result from the
// sink is raised as EOleError in the caller; with TMissingEvent::Ignored, a sink that does not
// know the member (DISP_E_MEMBERNOTFOUND) has simply not handled the event.
void InvokeSinkMethod(IDispatch* sink, DISPID id, std::vector<VARIANT> args,
                      TMissingEvent missing = TMissingEvent::Fails);

}  // namespace skx
