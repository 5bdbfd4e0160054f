// The phone-token store: table "Table_DynCode" of "VM_DATA.db" in the data
// directory, one row per account and registered mobile number, holding the
// sealed seed (DynCode.h) and the counter the next code uses. Rows written
// from one token application share their sealed seed, and the counter moves
// on for every row of that seed at once.
//
// Every value is bound into the SQL, so an account holding quotes or SQL
// finds and deletes exactly the rows of that account text, nothing else.
// Each call opens the database, works and closes it; GUI thread only.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

class CAppData;

inline constexpr char16_t kDynCodeDbFile[] = u"VM_DATA.db";
inline constexpr char16_t kDynCodeTable[] = u"Table_DynCode";
inline constexpr char16_t kDynCodeCreateSql[] =
    u"create table Table_DynCode(ACCOUNT varchar(20), SEED varchar(128), MOBILENO varchar(20), FACTOR "
    u"int,ISFUNDACCOUNT int,APPLYTIME _int64);";

// Set to 1 when a row is added or deleted; the phone-token list reloads
// when it is shown while set, and clears it. GUI thread only.
extern int DynCodeListChanged;

// What a look-up found.
enum class DynCodeState {
    NoToken,       // no row for the account and this phone, or the store could not be read
    Code,          // a row: the code is written (and, when asked, the counter moved on)
    AdvanceFailed, // a row and its code, but the next counter could not be stored:
                   // the code must not be sent, or it would be sent again next time
};

// The code of the account's token on this phone (the registered mobile
// number, "Focus"), from the stored counter, as kDynCodeDigits digits. With
// advance, the stored counter of every row of the same seed moves on by
// one before the code is given out. A seed that cannot be opened gives the
// code of the empty key (the server refuses it, and the login deletes the
// token). A store that cannot be read (missing, damaged, locked) counts as
// no token: the login then asks for the pass phrase. code is emptied
// unless the state is Code.
DynCodeState GetDynCodeForAccount(const CAppData& app, std::string_view account, std::string& code, bool advance);

// Stores a token's row for account on the registered mobile number mobile:
// the sealed seed, counter 1, the fund-account mark and the application
// time (UTC seconds); an existing row of the account and number is
// rewritten. Creates the table when missing and sets DynCodeListChanged.
// False when the seed does not seal or the database fails (nothing written).
bool StoreDynCodeSeed(const CAppData& app, std::string_view account, std::string_view seed,
                      std::u16string_view mobile, bool isFundAccount, std::int64_t applyTime);

// Makes the table when it is missing; true when it is there afterwards.
// A store that holds it already is only read.
bool EnsureDynCodeTable(const CAppData& app);

// Deletes the account's rows (every mobile number), as the login does when
// the server refuses its token, and sets DynCodeListChanged when the table
// exists. Returns the number of rows deleted; −1 when the database fails.
int DeleteDynCodeForAccount(const CAppData& app, std::string_view account);
