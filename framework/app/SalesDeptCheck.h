// Whether the user has set up a sales department, which every trade entry
// point asks before it offers the trade login.
#pragma once

class CAppData;

// True when "VM_DATA.db" in the data directory exists, has "Table_SalesDept"
// and "select count(*) from Table_SalesDept;" gives more than 0. Any database
// failure gives false; a missing database is not created, and one the user
// may not write is read all the same.
bool IsSalesDeptConfiged(const CAppData& app);
