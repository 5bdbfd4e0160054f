// Sales-department check over the local database.
#include "framework/app/SalesDeptCheck.h"

#include "framework/app/CAppData.h"
#include "platform/storage/CppSQLite3DB.h"
#include "platform/storage/FileOps.h"

bool IsSalesDeptConfiged(const CAppData& app) {
    if (!IsRegularFile(app.MakeNativePath("VM_DATA.db"))) {
        return false;
    }
    try {
        CppSQLite3DB db;
        db.openForReading(app.MakeDataPath(u"VM_DATA.db").view());
        if (!db.tableExists(u"Table_SalesDept")) {
            return false;
        }
        int count = 0;
        return db.execScalar(u"select count(*) from Table_SalesDept;", count) && count > 0;
    } catch (...) {
        return false;
    }
}
