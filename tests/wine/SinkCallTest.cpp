// Late-bound calls on an event sink: argument order, by-reference results, failures raised.
#include <windows.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include <vector>

#include "Framework/Com/ComObject.h"
#include "Framework/Com/SinkCall.h"
#include "Framework/Core/Exceptions.h"

namespace skx::test {
namespace {

// A sink that records each call, writes 42 through a by-reference argument and may fail.
class TRecordingSink : public TDispatchObject<TLifetime::Owned> {
 public:
  TRecordingSink() : TDispatchObject(1, IID_IDispatch) {}
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT*,
                                   EXCEPINFO* excepInfo, UINT*) override {
    FId = id;
    FFlags = flags;
    FTypes.clear();
    for (UINT i = 0; i < params->cArgs; ++i) {
      VARIANT& arg = params->rgvarg[i];
      FTypes.push_back(arg.vt);
      if (arg.vt == (VT_I4 | VT_BYREF)) *arg.plVal = 42;
    }
    if (FFail && excepInfo != nullptr) {
      excepInfo->scode = E_ABORT;
      excepInfo->bstrDescription = ::SysAllocString(L"sink refused");
      return DISP_E_EXCEPTION;
    }
    return FFail ? E_FAIL : S_OK;
  }

  DISPID FId = 0;
  WORD FFlags = 0;
  std::vector<VARTYPE> FTypes;  // as the sink receives them: last argument first
  bool FFail = false;
};

TEST(SinkCall, InvokesTheIdAsAMethodWithArgumentsLastFirst) {
  TRecordingSink sink;
  LONG id = 0;
  InvokeSinkMethod(&sink, 5, {DispatchArg(&sink), ByRefLongArg(&id)});
  EXPECT_EQ(sink.FId, 5);
  EXPECT_EQ(sink.FFlags, DISPATCH_METHOD);
  ASSERT_EQ(sink.FTypes.size(), 2u);
  EXPECT_EQ(sink.FTypes[0], VT_I4 | VT_BYREF);
  EXPECT_EQ(sink.FTypes[1], VT_DISPATCH);
  EXPECT_EQ(id, 42) << "the sink's answer comes back through the reference";

  InvokeSinkMethod(&sink, 1, {});
  EXPECT_EQ(sink.FId, 1);
  EXPECT_TRUE(sink.FTypes.empty());
}

TEST(SinkCall, SinkFailureIsRaisedWithItsMessageAndResult) {
  TRecordingSink sink;
  sink.FFail = true;
  try {
    InvokeSinkMethod(&sink, 7, {DispatchArg(&sink)});
    FAIL() << "no exception";
  } catch (const EOleError& e) {
    EXPECT_EQ(e.Message(), L"sink refused");
    EXPECT_EQ(e.Code(), E_ABORT);
  }
}

}  // namespace
}  // namespace skx::test
