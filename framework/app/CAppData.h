// The single application state: the data directory and its files (settings,
// the named ".dat" files, the registry file), the colour scheme, the menu
// tree, the server configuration, the logged-in trade accounts with the
// current login, and what the request road needs (session, request counter,
// device identity, traffic counters, connection type).
//
// The program creates it at start (Create) and deletes it at exit (Destroy),
// which saves the settings; tests make a fresh one over a fresh directory.
//
// Threads: everything runs on the GUI thread except what the request worker
// touches: the settings (so "Connect_Type"), the session key and the traffic
// counters, which are guarded (lock or atomics). The session string, the
// request counter, the accounts and the menu tree are GUI-thread only.
//
// Trade login: the current holder set, login id and trading password are
// always those of the current account entry (or cleared after Logout); the
// password is kept in memory only and zeroed when replaced or cleared.
#pragma once

#include "core/CAString.h"
#include "core/CDataSet.h"
#include "core/CServerConfig.h"
#include "core/CWString.h"
#include "framework/app/CAccountEntry.h"
#include "framework/app/CDefParam.h"
#include "framework/app/CMenuTree.h"
#include "framework/app/CSecretText.h"
#include "platform/storage/CRegRecord.h"
#include "platform/win/Message.h"

#include <functional>

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class UiWin;
class CNetWorker;
class CHttpPostClient;

class CAppData {
public:
    static constexpr int kColorCount = 45;
    static constexpr int kMaxAccounts = 6;
    // The watch list written when none is stored.
    static constexpr std::string_view kDefaultMyQuotes = "000001.02,399001.01,100100.03,101400.03";

    // Makes the application state over dataDir (native path, created when
    // missing) and loads the settings, the device identity and the stored
    // server configuration. Null when a state exists already.
    static CAppData* Create(const std::string& dataDir);
    // Stops the shared worker, saves the settings and deletes the state.
    // Harmless when there is none.
    static void Destroy();
    // The state, or null outside Create .. Destroy.
    static CAppData* Instance();

    // ---- Data directory and files ----

    // Full path of a file in the data directory (UTF-16, as the database
    // and registry layers take it).
    CWString MakeDataPath(std::u16string_view fileName) const;
    // The same as a native path.
    std::string MakeNativePath(std::string_view fileName) const;
    const std::string& GetDataDir() const { return m_dataDir; }

    // Reads the file name + ".dat" whole into a new buffer stored in *out,
    // followed by two zero bytes (so the data reads as a NUL-ended 8-bit or
    // wide text); the caller releases it with free(). Returns the number of
    // bytes read, or −1 with *out null when the file is missing or unreadable
    // or the name is not a plain file name.
    int ReadDatFile(const char* name, char** out) const;
    // The same as a vector; nullopt when missing.
    std::optional<std::vector<uint8_t>> ReadDatFile(const char* name) const;
    // Writes the file name + ".dat" with exactly these bytes, atomically; a
    // file that holds them already is left as it is (true). False (old file
    // intact, no temporary file left) when it fails.
    bool WriteDatFile(const char* name, const void* bytes, size_t length);
    // Creates "MyQuotes.dat" with kDefaultMyQuotes and its NUL when it is
    // missing.
    // False when it was missing and could not be written.
    bool LoadMyQuotes();

    // ---- Settings and colours ----

    // The setting's text; the built-in default for a key the file lacks,
    // empty for a key no table knows.
    CAString GetSetting(std::string_view key) const;
    // Stores the value of an existing key and, with save, writes the
    // settings file. False for an unknown key, a value longer than 31 bytes
    // (refused, never cut) or a failed save (the value stays set in memory).
    bool SetSetting(std::string_view key, std::string_view value, bool save);
    // Writes the settings file; false when it fails.
    bool SaveSettings() const;
    // The colour (0x00BBGGRR) of the current scheme; 0 out of range.
    uint32_t GetColor(int index) const;

    // ---- Menu tree and server configuration ----

    // The menu tree of the stored "Menus" data, built on first use and again
    // after "Menus" is written; null when missing or unreadable.
    CMenuTree* GetMenuTree();
    // The stored configuration ("config"), loaded at Create and again after
    // "config" is written.
    CServerConfig& GetServerConfig() { return m_serverConfig; }

    // ---- Messages ----

    // A modal platform message box with the caption "信息" and an OK button,
    // over owner or, when null, over the main window; nothing for null text.
    void ShowInfoMessage(const char16_t* text, UiWin* owner = nullptr);
    // The main window for messages without an owner (the main frame sets it).
    void SetMainWindow(UiWin* window);

    // ---- Trade accounts and login ----

    // Adds or refreshes a logged-in account; see the source for the slots.
    // Does nothing unless holders is given and the id, login id and password
    // are non-empty. The entry takes the record set; the account becomes
    // current and its set, login id and password the current ones.
    void AddAccount(std::unique_ptr<CDataSet> holders, const char* accountId, const char* loginId,
                    const char* password, const char16_t* customerName, const char16_t* department);
    // Index of the entry whose id equals accountId ignoring case; −1 when none.
    int FindAccount(const char* accountId) const;
    // For an index in range other than the current one: that entry's set,
    // login id and password become current and it becomes the current entry.
    void SwitchAccount(int index);
    // The entry, null outside 0 .. count − 1.
    CAccountEntry* GetAccount(int index) const;
    CAccountEntry* GetCurrentAccount() const { return GetAccount(m_currentAccount); }
    // Index of the current entry; −1 when the list is empty.
    int GetCurrentAccountIndex() const { return m_currentAccount; }
    int GetAccountCount() const { return static_cast<int>(m_accounts.size()); }
    // Deletes the entry; later entries move up. The current login then
    // follows the current entry; with no entry left it is Logout.
    void RemoveAccount(int index);
    // Clears the login id, the trading password (zeroed), the current holder
    // set and the trade-logged-in flag; the account list stays.
    void Logout();

    // True when the current holder set has rows.
    bool HasHolderData() const;
    CDataSet* GetHolderDataSet() const { return m_holders; }
    // The "fundid" of the holder row whose "secuid" equals secuid, or of the
    // first row for null; empty without holder data or such a row.
    CAString GetFundIdForMarket(const char* secuid) const;

    // The trade login id that leads every trade request; empty when none.
    const char* GetLoginId() const { return m_loginId.c_str(); }
    // Replaces it (and the current entry's) with a copy; null clears it.
    void SetLoginId(const char* text);
    // The trading password of the current login, or null.
    const char* GetTradePassword() const { return m_password.Get(); }
    // Replaces it (and the current entry's); null or empty clears it.
    void SetTradePassword(const char* text);

    bool IsTradeLoggedIn() const { return m_tradeLoggedIn; }
    void SetTradeLoggedIn(bool on) { m_tradeLoggedIn = on; }

    // Runs the sales-department window, the trade login or the account list
    // as the trade entry points need, through the route the window manager's
    // layer installs (framework/shell/TradeEntry.cpp). Returns the close code
    // of the window it ran; −1 when none ran or no route is installed.
    int CheckTradeLogin(UiWin* parent, int notifyValue, bool newLogin);
    using TradeLoginRoute = std::function<int(CAppData& app, UiWin* parent, int notifyValue, bool newLogin)>;
    static void SetTradeLoginRoute(TradeLoginRoute route);
    // Adds a stock key ("000016.01") to the watch list and tells the user
    // over owner, through the route the quote screens install; 1 when
    // added, 0 when not, −1 when no route is installed.
    int AddToWatchList(const char* item, UiWin* owner);
    using WatchListRoute = std::function<int(const char* item, UiWin* owner)>;
    static void SetWatchListRoute(WatchListRoute route);

    // ---- Registration record ----

    // Fills record from the registry file in the data directory ("Focus":
    // the registered mobile number); all empty when it is missing. What was
    // read is kept until a registry write (CRegistry::WriteCount), so every
    // request's tail does not read the disk.
    void ReadRegRecord(CRegRecord& record) const;

    // ---- Request road ----

    // The shared request worker, created on first use, and its connection;
    // defined with the transport (CAppDataNet.cpp), which keeps the worker
    // in m_netWorker.
    CNetWorker* GetNetWorker();
    CHttpPostClient* GetSharedConnection();

    // Session key of the service logon (16 characters); any thread.
    CAString GetSessionKey() const;
    void SetSessionKey(std::string_view key);
    // Session string the common tail carries; GUI thread.
    const CAString& GetSession() const { return m_session; }
    void SetSession(std::string_view session) { m_session.Assign(session); }
    // Request counter of the common tail; GUI thread.
    int GetRequestCounter() const { return m_requestCounter; }
    // Counts one request and returns the new counter.
    int NextRequestCounter() { return ++m_requestCounter; }
    // The device identity (a 15-digit IMEI made once and kept in the data
    // directory as "DeviceId.dat").
    const CAString& GetDeviceId() const { return m_deviceId; }
    // The system version text of the common tail.
    const CAString& GetSystemVersion() const { return m_systemVersion; }
    // Traffic of this session in bytes; any thread.
    void AddUploadBytes(uint64_t bytes) { m_uploadBytes.fetch_add(bytes, std::memory_order_relaxed); }
    void AddDownloadBytes(uint64_t bytes) { m_downloadBytes.fetch_add(bytes, std::memory_order_relaxed); }
    uint64_t GetUploadBytes() const { return m_uploadBytes.load(std::memory_order_relaxed); }
    uint64_t GetDownloadBytes() const { return m_downloadBytes.load(std::memory_order_relaxed); }
    // Connection type ("Connect_Type"): 0 direct, 1 through the gateway; any thread.
    int GetConnectType() const;
    void SetConnectType(int type);

private:
    explicit CAppData(std::string dataDir);
    ~CAppData();
    CAppData(const CAppData&) = delete;
    CAppData& operator=(const CAppData&) = delete;

    void LoadDeviceId();
    // Makes the current login that of the current entry.
    void TakeCurrentEntry();

    using NetWorkerPtr = std::unique_ptr<CNetWorker, void (*)(CNetWorker*)>;

    std::string m_dataDir;                      // native path, no trailing slash
    CDefParam m_settings;
    std::array<uint32_t, kColorCount> m_colors; // 0x00BBGGRR
    std::unique_ptr<CMenuTree> m_menuTree;
    bool m_menuTreeLoaded = false;              // m_menuTree reflects the stored "Menus"
    CServerConfig m_serverConfig;
    HWND m_mainWindow = nullptr;

    std::vector<std::unique_ptr<CAccountEntry>> m_accounts; // at most kMaxAccounts
    int m_currentAccount = -1;                  // −1 when the list is empty
    CDataSet* m_holders = nullptr;              // the current entry's set, or null after Logout
    CAString m_loginId;
    CSecretText m_password;
    bool m_tradeLoggedIn = false;

    mutable std::mutex m_sessionLock;           // guards m_sessionKey
    mutable std::mutex m_regLock;               // guards the kept registration record below
    mutable std::optional<CRegRecord> m_regRecord;
    mutable std::u16string m_regPath;           // the registry file it was read from
    mutable std::uint64_t m_regWrites = 0;      // CRegistry::WriteCount() before it was read
    CAString m_sessionKey;
    CAString m_session;
    int m_requestCounter = 0;
    CAString m_deviceId;
    CAString m_systemVersion;
    std::atomic<uint64_t> m_uploadBytes{0};     // bytes sent this session
    std::atomic<uint64_t> m_downloadBytes{0};   // bytes received this session

    // Set by the transport's GetNetWorker with its own deleter, which stops
    // the worker; released first in the destructor.
    NetWorkerPtr m_netWorker{nullptr, nullptr};
};
