// Registers the stock information windows' keywords: "xxhq" the detail
// quote page (parameter text "code=<stock key>", request text
// "tc_mfuncno=31000&tc_sfuncno=4") and, by its class name as the windows
// made directly are, "CStockDealDetailWnd" the deal details (empty
// parameter text, request text "code=<stock key>&date=<day>", date "0" for
// today).
#pragma once

void RegisterInfoWindows();
