// The tour's phone tokens: the usage text, the application form and the
// token window after an application.
#include "framework/app/CAppData.h"
#include "framework/ui/CBaseWnd.h"
#include "platform/storage/CRegistry.h"
#include "platform/testing/CDriverControls.h"
#include "platform/testing/CTestDriver.h"
#include "platform/ui/CModalScript.h"
#include "tools/orbstock/TourHelpers.h"
#include "trade/dyncode/CMobileDynCodeApplyWnd.h"
#include "trade/dyncode/CMobileDynCodeCtrWnd.h"
#include "trade/dyncode/MobileDynCodeTxtWnd.h"
#include "trade/login/COrbTradeLoginWnd.h"

namespace {
// This phone's registered number, the trade login, its token button, then
// the road: the risk notice, and the usage text with "我已阅读此使用说明"
// ticked.
bool OpenTokenUsage(CTourContext& tour) {
    const bool registered = tour.driver.RunOnGui([] {
        CAppData* app = CAppData::Instance();
        return app && CRegistry(app->MakeDataPath(CRegistry::kFileName).view())
                          .Write(CRegRecord::kKey, u"Focus", u"13800138000");
    });
    return registered && OpenTradeLogin(tour) &&
           CDriverControls::TapControl(tour.driver, COrbTradeLoginWnd::kTokenButtonId) &&
           CDriverControls::PressBottomButton(tour.driver, CMobileDynCodeCtrWnd::kBarApply) &&
           CDriverControls::PressBottomButton(tour.driver, CBaseWnd::kToolbarMiddle) &&
           CDriverControls::TapControl(tour.driver, MobileDynCodeTxtWnd::kCheckId);
}

// On from the usage text: the application form with 王芳's account under
// "上海浦东南路证券营业部".
bool OpenTokenForm(CTourContext& tour) {
    if (!OpenTokenUsage(tour) || !CDriverControls::PressBottomButton(tour.driver, CBaseWnd::kToolbarMiddle))
        return false;
    tour.driver.AnswerNext(ModalKind::Picker, 1);
    return CDriverControls::TapControl(tour.driver, CMobileDynCodeApplyWnd::kDeptPickerId) &&
           TypeInto(tour, CMobileDynCodeApplyWnd::kAccountId, u"56789") &&
           TypeInto(tour, CMobileDynCodeApplyWnd::kPasswordId, u"246810");
}
} // namespace

// The usage text on the road, "我已阅读此使用说明" ticked.
ORB_TOUR_STEP(dyncode_usage, 480) { return OpenTokenUsage(tour); }

// The token application form, filled in.
ORB_TOUR_STEP(dyncode_apply, 490) { return OpenTokenForm(tour); }

// The phone-token window after the application: the account and the tip.
ORB_TOUR_STEP(dyncode_manage, 500) {
    if (!OpenTokenForm(tour))
        return false;
    tour.driver.AnswerNext(ModalKind::MessageBox, IDOK);
    return CDriverControls::PressBottomButton(tour.driver, CBaseWnd::kToolbarMiddle) && tour.driver.WaitForRest();
}
