// The common tail from the application state (see the header).
#include "framework/app/AppRequestTail.h"

#include "framework/app/CAppData.h"
#include "platform/storage/CRegRecord.h"

CCommonTail MakeAppRequestTail(CAppData& app) {
    CCommonTail tail;
    tail.imei = app.GetDeviceId().str();
    CRegRecord reg;
    app.ReadRegRecord(reg);
    tail.mobile = CAString::CAStringFromWide(reg.Focus).str();
    tail.sysVer = app.GetSystemVersion().str();
    tail.reqNo = app.NextRequestCounter();
    tail.session = app.GetSession().str();
    return tail;
}
