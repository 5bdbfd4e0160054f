// Building the hand-made "Menus" body (see TestMenus.h).
#include "support/TestMenus.h"

#include "core/CDataSetWriter.h"

std::vector<uint8_t> TestMenusBody(const std::vector<SimMenuNode>& rows) {
    CDataSetWriter writer;
    writer.AddSet("menus");
    const int id = writer.AddColumn(DataSetType::Int32, "id");
    const int pid = writer.AddColumn(DataSetType::Int32, "pid");
    const int title = writer.AddColumn(DataSetType::WideText, "title");
    const int keyword = writer.AddColumn(DataSetType::AnsiText, "keyword");
    const int param = writer.AddColumn(DataSetType::AnsiText, "param");
    const int request = writer.AddColumn(DataSetType::AnsiText, "request");
    for (const SimMenuNode& row : rows) {
        writer.AddRow();
        writer.SetInt(id, row.id);
        writer.SetInt(pid, row.pid);
        writer.SetText(title, row.title);
        writer.SetAnsiText(keyword, row.keyword);
        writer.SetAnsiText(param, row.param);
        writer.SetAnsiText(request, row.request);
    }
    return writer.Serialize();
}
