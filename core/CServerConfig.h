// The stored configuration reply (the data file "config"): record sets whose
// column 0 is a name and column 1 a wide value text. The application
// framework owns the files and the message boxes, so it hands in two hooks:
// one that reads a named data file and one that shows an error text.
#pragma once

#include "core/CDataSetList.h"
#include "core/CWString.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class CServerConfig {
public:
    // Reads the named data file ("config"); nullopt when it is absent or unreadable.
    using FileReader = std::function<std::optional<std::vector<uint8_t>>(const char* name)>;
    // Shows an error text to the user.
    using ErrorSink = std::function<void(const CWString& text)>;

    CServerConfig(FileReader reader, ErrorSink showError);

    // Reads "config" into a new record-set list, replacing the held one
    // (flag is 0 for every caller). When the stored data holds an error set,
    // or is not a body at all, the error text is shown and the list dropped.
    // Returns true when a list is held afterwards. An absent file drops the
    // list silently.
    bool Load(int flag);
    // Column 1 text of the first row of the first set whose column 0 text
    // equals name ignoring ASCII case; nullopt otherwise.
    std::optional<CWString> GetValue(const char* name) const;
    // Names what is held: it differs from every other configuration's and
    // changes with each Load, so what was read from one may be kept while
    // the stamp stays.
    std::uint64_t GetStamp() const { return m_stamp; }

private:
    static std::uint64_t NextStamp();

    std::uint64_t m_stamp = NextStamp();
    FileReader m_reader;
    ErrorSink m_showError;
    std::unique_ptr<CDataSetList> m_list;
};
