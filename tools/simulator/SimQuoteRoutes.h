// The quote functions of the simulated server, one small route each:
// 31000/3 ranking page, 31000/4 quote fields, 31000/8 world indices,
// 31000/10 pinyin search, 100/30 sector list and 100/31 sector members.
#pragma once

class CBrokerSimulator;

// Adds the quote routes to the server.
void AddQuoteRoutes(CBrokerSimulator& server);
