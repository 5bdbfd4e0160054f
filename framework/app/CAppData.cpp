// The application state: files, settings, colours, menu tree, accounts and
// the values of the request road.
#include "framework/app/CAppData.h"

#include "core/StrUtil.h"
#include "core/TextConvert.h"
#include "framework/app/DataSetText.h"
#include "platform/storage/AtomicFile.h"
#include "platform/storage/CRegistry.h"
#include "platform/storage/FileOps.h"
#include "platform/system/SystemVersion.h"
#include "platform/ui/CUiMessageBox.h"
#include "platform/ui/UiDefs.h"
#include "platform/win/UiWin.h"

#include <cstdlib>
#include <cstring>
#include <random>

namespace {

CAppData* g_instance = nullptr;

// The default scheme for a dark quote screen; indexes as the windows use them.
constexpr std::array<uint32_t, CAppData::kColorCount> kDefaultColors = {
    0x000000, // 0 black titles
    0xFFFFFF, // 1 white
    0xC0C0C0, // 2 light grey
    0x808080, // 3 grey
    0x404040, // 4 dark grey
    0x00FFFF, // 5 yellow
    0xFFFF00, // 6 cyan
    0xFF00FF, // 7 magenta
    0x0080FF, // 8 orange
    0x00D7FF, // 9 gold
    0x303030, // 10 alternate table row
    0x202020, // 11 table background
    0x3030B0, // 12 frames and grid
    0x000000, // 13 chart background
    0xFFFFFF, // 14 default table text
    0x2626FF, // 15 rise
    0x17FF17, // 16 fall
    0xFFFFFF, // 17 flat and labels
    0x00FFFF, // 18 stock names
    0xFFFF00, // 19 stock codes
    0xC0C0C0, // 20 cursor
    0xB0B0B0, // 21 axis times and dates
    0x505050, // 22 selected row
    0x00FFFF, // 23 highlight text
    0xFF8000, // 24 links
    0x808000, // 25 secondary text
    0x00FFFF, // 26 minute average line
    0xFFFFFF, // 27 minute price line
    0x00FFFF, // 28 volume and amount
    0x3C3C3C, // 29 panel background
    0xE0E0E0, // 30 panel text
    0x00A5FF, // 31 notices
    0x909090, // 32 disabled text
    0xFFFFFF, // 33 first indicator line
    0x00FFFF, // 34 second indicator line
    0xFF00FF, // 35 third indicator line
    0xFFFFFF, // 36 first moving average
    0x00FFFF, // 37 second moving average
    0xFF00FF, // 38 third moving average
    0x00FF00, // 39 green
    0x0000FF, // 40 red
    0xFF0000, // 41 blue
    0x808080, // 42 separators
    0x404040, // 43 dark separators
    0x202020, // 44 shadows
};

// A data-file name must stay inside the data directory.
bool IsPlainName(const char* name) {
    if (name == nullptr || *name == '\0' || std::strchr(name, '/') != nullptr) {
        return false;
    }
    return std::strcmp(name, ".") != 0 && std::strcmp(name, "..") != 0;
}

// The one place that shows a platform message box for the state.
void ShowPlatformMessage(UiWin* owner, std::u16string_view text, std::u16string_view caption) {
    UiMessageBox(owner, text, caption, MB_OK);
}

// A made-up IMEI: "35", 12 random digits and the Luhn check digit.
std::string MakeDeviceId() {
    std::random_device random;
    std::uniform_int_distribution<int> digit(0, 9);
    std::string id = "35";
    while (id.size() < 14) {
        id.push_back(static_cast<char>('0' + digit(random)));
    }
    int sum = 0;
    for (size_t i = 0; i < id.size(); ++i) {
        int d = id[i] - '0';
        if (i % 2 == 1) {
            d *= 2;
            if (d > 9) {
                d -= 9;
            }
        }
        sum += d;
    }
    id.push_back(static_cast<char>('0' + (10 - sum % 10) % 10));
    return id;
}

bool IsDeviceId(const std::vector<uint8_t>& bytes) {
    if (bytes.size() != 15) {
        return false;
    }
    for (uint8_t b : bytes) {
        if (b < '0' || b > '9') {
            return false;
        }
    }
    return true;
}

std::string WithoutTrailingSlash(std::string dir) {
    while (dir.size() > 1 && dir.back() == '/') {
        dir.pop_back();
    }
    return dir;
}

} // namespace

CAppData* CAppData::Create(const std::string& dataDir) {
    if (g_instance != nullptr) {
        return nullptr;
    }
    FileOps().MakeDirectory(dataDir, 0700); // a failure shows when a file is written
    g_instance = new CAppData(dataDir);
    return g_instance;
}

void CAppData::Destroy() {
    delete g_instance;
    g_instance = nullptr;
}

CAppData* CAppData::Instance() { return g_instance; }

CAppData::CAppData(std::string dataDir)
    : m_dataDir(WithoutTrailingSlash(std::move(dataDir))),
      m_settings(MakeNativePath(CDefParam::kFileName)),
      m_colors(kDefaultColors),
      m_serverConfig(
          [this](const char* name) { return ReadDatFile(name); },
          [this](const CWString& text) { ShowInfoMessage(text.c_str()); }) {
    m_settings.Load();
    m_systemVersion.Assign(SystemVersion());
    LoadDeviceId();
    m_serverConfig.Load(0);
}

CAppData::~CAppData() {
    m_netWorker.reset();
    m_settings.Save();
    Logout();
}

// ---- Data directory and files ----

CWString CAppData::MakeDataPath(std::u16string_view fileName) const {
    CWString path(Utf8ToWide(m_dataDir));
    path.AppendChar(u'/');
    path.Append(fileName);
    return path;
}

std::string CAppData::MakeNativePath(std::string_view fileName) const {
    std::string path = m_dataDir;
    path.push_back('/');
    path.append(fileName);
    return path;
}

int CAppData::ReadDatFile(const char* name, char** out) const {
    if (out == nullptr) {
        return -1;
    }
    *out = nullptr;
    std::optional<std::vector<uint8_t>> bytes = ReadDatFile(name);
    if (!bytes || bytes->size() > static_cast<size_t>(INT32_MAX) - 2) {
        return -1;
    }
    char* buffer = static_cast<char*>(std::calloc(bytes->size() + 2, 1));
    if (buffer == nullptr) {
        return -1;
    }
    if (!bytes->empty()) {
        std::memcpy(buffer, bytes->data(), bytes->size());
    }
    *out = buffer;
    return static_cast<int>(bytes->size());
}

std::optional<std::vector<uint8_t>> CAppData::ReadDatFile(const char* name) const {
    if (!IsPlainName(name)) {
        return std::nullopt;
    }
    return ReadWholeFile(MakeNativePath(std::string(name) + ".dat"));
}

bool CAppData::WriteDatFile(const char* name, const void* bytes, size_t length) {
    if (!IsPlainName(name)) {
        return false;
    }
    const std::string path = MakeNativePath(std::string(name) + ".dat");
    // Every start fetches "Menus" and "config" again, mostly unchanged: bytes
    // already stored cost a read instead of a synced replace.
    const std::optional<std::vector<uint8_t>> stored = ReadWholeFile(path);
    const bool same = stored && stored->size() == length &&
                      (length == 0 || std::memcmp(stored->data(), bytes, length) == 0);
    if (!same && !WriteFileAtomically(path, bytes, length)) {
        return false;
    }
    if (StrEqualNoCase(name, "Menus") == 0) {
        m_menuTree.reset();
        m_menuTreeLoaded = false;
    } else if (StrEqualNoCase(name, "config") == 0) {
        m_serverConfig.Load(0);
    }
    return true;
}

namespace {
CAppData::TradeLoginRoute& TradeRoute() {
    static CAppData::TradeLoginRoute route;
    return route;
}

CAppData::WatchListRoute& WatchRoute() {
    static CAppData::WatchListRoute route;
    return route;
}
} // namespace

void CAppData::SetTradeLoginRoute(TradeLoginRoute route) { TradeRoute() = std::move(route); }

int CAppData::CheckTradeLogin(UiWin* parent, int notifyValue, bool newLogin) {
    const TradeLoginRoute& route = TradeRoute();
    return route ? route(*this, parent, notifyValue, newLogin) : -1;
}

void CAppData::SetWatchListRoute(WatchListRoute route) { WatchRoute() = std::move(route); }

int CAppData::AddToWatchList(const char* item, UiWin* owner) {
    const WatchListRoute& route = WatchRoute();
    return route ? route(item, owner) : -1;
}

bool CAppData::LoadMyQuotes() {
    if (ReadDatFile("MyQuotes")) {
        return true;
    }
    // Stored as the watch list always is: the text and its NUL.
    std::string bytes(kDefaultMyQuotes);
    bytes.push_back('\0');
    return WriteDatFile("MyQuotes", bytes.data(), bytes.size());
}

// ---- Settings and colours ----

CAString CAppData::GetSetting(std::string_view key) const { return m_settings.Get(key); }

bool CAppData::SetSetting(std::string_view key, std::string_view value, bool save) {
    if (!m_settings.Set(key, value)) {
        return false;
    }
    return !save || m_settings.Save();
}

bool CAppData::SaveSettings() const { return m_settings.Save(); }

uint32_t CAppData::GetColor(int index) const {
    if (index < 0 || index >= kColorCount) {
        return 0;
    }
    return m_colors[static_cast<size_t>(index)];
}

// ---- Menu tree ----

CMenuTree* CAppData::GetMenuTree() {
    if (!m_menuTreeLoaded) {
        m_menuTreeLoaded = true;
        std::optional<std::vector<uint8_t>> body = ReadDatFile("Menus");
        m_menuTree = body ? CMenuTree::FromBody(body->data(), body->size()) : nullptr;
    }
    return m_menuTree.get();
}

// ---- Messages ----

void CAppData::ShowInfoMessage(const char16_t* text, UiWin* owner) {
    if (text == nullptr) {
        return;
    }
    if (owner == nullptr) {
        owner = UiWin::FromHandle(m_mainWindow);
    }
    ShowPlatformMessage(owner, text, u"信息");
}

void CAppData::SetMainWindow(UiWin* window) { m_mainWindow = window ? window->GetHandle() : nullptr; }

// ---- Trade accounts and login ----

// Slots: an id already listed refreshes its entry. A new id goes right after
// the current entry; while the list has room the later entries move down
// one place (none is lost), and at the capacity it takes the slot after the
// current one, wrapping to 0, and the occupant is deleted.
void CAppData::AddAccount(std::unique_ptr<CDataSet> holders, const char* accountId, const char* loginId,
                          const char* password, const char16_t* customerName, const char16_t* department) {
    if (!holders || accountId == nullptr || *accountId == '\0' || loginId == nullptr || *loginId == '\0' ||
        password == nullptr || *password == '\0') {
        return;
    }
    int index = FindAccount(accountId);
    if (index < 0) {
        auto entry = std::make_unique<CAccountEntry>();
        if (static_cast<int>(m_accounts.size()) < kMaxAccounts) {
            index = m_currentAccount + 1;
            m_accounts.insert(m_accounts.begin() + index, std::move(entry));
        } else {
            index = (m_currentAccount + 1) % kMaxAccounts;
            m_accounts[static_cast<size_t>(index)] = std::move(entry); // deletes the occupant
        }
    }
    CAccountEntry& entry = *m_accounts[static_cast<size_t>(index)];
    entry.holders = std::move(holders);
    entry.accountId.Assign(accountId);
    entry.loginId.Assign(loginId);
    entry.password.Assign(password);
    entry.customerName = CWString(customerName);
    entry.department = CWString(department);
    m_currentAccount = index;
    TakeCurrentEntry();
}

int CAppData::FindAccount(const char* accountId) const {
    if (accountId == nullptr) {
        return -1;
    }
    for (size_t i = 0; i < m_accounts.size(); ++i) {
        if (m_accounts[i]->accountId.EqualsNoCaseStr(accountId)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void CAppData::SwitchAccount(int index) {
    if (index < 0 || index >= GetAccountCount() || index == m_currentAccount) {
        return;
    }
    m_currentAccount = index;
    TakeCurrentEntry();
}

CAccountEntry* CAppData::GetAccount(int index) const {
    if (index < 0 || index >= GetAccountCount()) {
        return nullptr;
    }
    return m_accounts[static_cast<size_t>(index)].get();
}

void CAppData::RemoveAccount(int index) {
    if (index < 0 || index >= GetAccountCount()) {
        return;
    }
    const bool loggedIn = m_holders != nullptr;
    m_accounts.erase(m_accounts.begin() + index);
    if (m_accounts.empty()) {
        m_currentAccount = -1;
        Logout();
        return;
    }
    if (index < m_currentAccount || m_currentAccount >= GetAccountCount()) {
        --m_currentAccount;
    }
    if (loggedIn) {
        TakeCurrentEntry();
    } else {
        m_holders = nullptr;
    }
}

void CAppData::Logout() {
    m_loginId.Clear();
    m_password.Clear();
    m_holders = nullptr;
    m_tradeLoggedIn = false;
}

void CAppData::TakeCurrentEntry() {
    CAccountEntry* entry = GetCurrentAccount();
    if (entry == nullptr) {
        Logout();
        return;
    }
    m_holders = entry->holders.get();
    m_loginId = entry->loginId;
    m_password.Assign(entry->password.Get() ? entry->password.Get() : "");
}

bool CAppData::HasHolderData() const { return m_holders != nullptr && m_holders->GetRowCount() > 0; }

CAString CAppData::GetFundIdForMarket(const char* secuid) const {
    if (!HasHolderData()) {
        return {};
    }
    CDataSet& set = *m_holders;
    const int fundCol = set.FindColumn("fundid");
    const int secuCol = set.FindColumn("secuid");
    const int saved = set.GetCursor();
    CAString result;
    set.Move(-1 - set.GetCursor());
    while (set.MoveNext()) {
        if (secuid == nullptr || GetFieldAnsiText(set, secuCol) == secuid) {
            result.Assign(GetFieldAnsiText(set, fundCol));
            break;
        }
    }
    set.Move(saved - set.GetCursor());
    return result;
}

void CAppData::SetLoginId(const char* text) {
    m_loginId.Assign(text ? text : "");
    if (CAccountEntry* entry = GetCurrentAccount()) {
        entry->loginId = m_loginId;
    }
}

void CAppData::SetTradePassword(const char* text) {
    m_password.Assign(text ? text : "");
    if (CAccountEntry* entry = GetCurrentAccount()) {
        entry->password.Assign(text ? text : "");
    }
}

// ---- Registration record ----

void CAppData::ReadRegRecord(CRegRecord& record) const {
    const CWString path = MakeDataPath(CRegistry::kFileName);
    std::lock_guard lock(m_regLock);
    // Counted before the read: a write made meanwhile makes the next caller read again.
    const std::uint64_t writes = CRegistry::WriteCount();
    if (!m_regRecord || m_regWrites != writes || m_regPath != path.view()) {
        CRegistry registry(path.view());
        m_regRecord.emplace();
        ::ReadRegRecord(registry, *m_regRecord);
        m_regWrites = writes;
        m_regPath.assign(path.view());
    }
    record = *m_regRecord;
}

// ---- Request road ----

CAString CAppData::GetSessionKey() const {
    std::lock_guard lock(m_sessionLock);
    return m_sessionKey;
}

void CAppData::SetSessionKey(std::string_view key) {
    std::lock_guard lock(m_sessionLock);
    m_sessionKey.Assign(key);
}

int CAppData::GetConnectType() const { return std::atoi(m_settings.Get("Connect_Type").c_str()); }

void CAppData::SetConnectType(int type) { m_settings.Set("Connect_Type", std::to_string(type)); }

void CAppData::LoadDeviceId() {
    std::optional<std::vector<uint8_t>> stored = ReadDatFile("DeviceId");
    if (stored && IsDeviceId(*stored)) {
        m_deviceId.Assign(std::string_view(reinterpret_cast<const char*>(stored->data()), stored->size()));
        return;
    }
    std::string id = MakeDeviceId();
    WriteDatFile("DeviceId", id.data(), id.size()); // unsaved: a new one next start
    m_deviceId.Assign(id);
}
