// The names windows are opened and registered by, each written once: the
// keywords of the menu tree's nodes that the program opens or registers
// itself, and the class names it opens without a node. The window manager
// compares them ignoring letter case.
#pragma once

// Menu-node keywords.
inline constexpr char kMenuKeyword[] = "menu";              // a plain menu of the tree
inline constexpr char kMinuteChartKeyword[] = "fschart";    // a stock's minute chart
inline constexpr char kKLineChartKeyword[] = "kxchart";     // a stock's K-line chart
inline constexpr char kDetailQuoteKeyword[] = "xxhq";       // a stock's detail quote
inline constexpr char kOrderFormKeyword[] = "buysale";      // the buy or sell form
inline constexpr char kWatchListKeyword[] = "zxhq";         // the watch list
inline constexpr char kRankingKeyword[] = "pxhq";           // the stock ranking
inline constexpr char kBoardStocksKeyword[] = "bkph";       // one sector's stocks
inline constexpr char kBoardsKeyword[] = "bkhq";            // the sector menu
inline constexpr char kBoardListKeyword[] = "bkhqlist";     // the sectors of one kind
inline constexpr char kChinaIndexKeyword[] = "zgzs";        // the domestic indices
inline constexpr char kWorldIndexKeyword[] = "sjzs";        // the world indices
inline constexpr char kNewsListKeyword[] = "newslist";      // a list of article titles
inline constexpr char kArticleKeyword[] = "newscontent";    // one article
inline constexpr char kBranchRegionsKeyword[] = "yywd";     // the branches by region
inline constexpr char kTradeExitKeyword[] = "tradeexit";    // log the trade accounts out
inline constexpr char kCompanyInfoKeyword[] = "F10";        // a stock's information menu
inline constexpr char kSalesDeptKeyword[] = "yybsz";        // the sales departments (software settings)
inline constexpr char kTradeMenuKeyword[] = "trademenu";    // the trading main menu
inline constexpr char kOpenFundMenuKeyword[] = "openfund";  // the fund menu, the trade menu's look
inline constexpr char kTradeQueryKeyword[] = "tradequery";  // a same-day query table
inline constexpr char kTradeCancelKeyword[] = "wtcd";       // the cancellable orders
inline constexpr char kFundsQueryKeyword[] = "trade_zjcx";  // the account's funds per currency
inline constexpr char kHistoryQueryKeyword[] = "hisquery";   // past orders or deals between two dates
inline constexpr char kPasswordChangeKeyword[] = "xgmm";     // the trading password change
inline constexpr char kWarrantExerciseKeyword[] = "qzxq";    // the warrant exercise

// Class names opened by name.
inline constexpr char kDealDetailClass[] = "CStockDealDetailWnd"; // a stock's deals of the day
inline constexpr char kStockEditorClass[] = "CEditMyStockWnd";   // the watch-list editor and stock search
inline constexpr char kSalesDeptClass[] = "CSalesDeptSetWnd";    // choosing the sales department
inline constexpr char kTradeLoginClass[] = "COrbTradeLoginWnd";  // the trade login
inline constexpr char kTradeAccountsClass[] = "CTradeLoginAccountWnd"; // the logged-in accounts
inline constexpr char kDynCodeCtrClass[] = "CMobileDynCodeCtrWnd"; // the phone-token window
