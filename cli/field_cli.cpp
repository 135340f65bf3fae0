#include "cli/field_cli.h"

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <vector>

#include "cli/cli_notifier.h"
#include "core/comparison_rows.h"
#include "core/default_image.h"
#include "core/document.h"
#include "core/table_file.h"

namespace zrv::cli {

bool OpenTable(const std::string& path, OpenedTable& table) {
    Document document(StartupImage());
    const TableFileResult result = document.open(path);
    if (!result.ok) {
        StderrNotifier notifier;
        if (result.message) notifier.show(*result.message);
        return false;
    }
    table.image = document.image();
    table.capcodeCount = document.capcodeCount();
    table.context = ContextAfterOpen(table.image);
    table.context.capcodeCount = table.capcodeCount;
    return true;
}

bool SaveTable(const std::string& path, OpenedTable& table) {
    Document document(table.image);
    document.setCapcodeCount(table.capcodeCount);
    // The commands that save lock the file before they open it.
    if (const auto error = document.saveAs(path, true)) {
        StderrNotifier notifier;
        notifier.show(*error);
        return false;
    }
    table.image = document.image();
    return true;
}

std::string FieldNameSummary() {
    std::string text;
    std::string group;
    std::vector<std::string> seen;
    std::size_t lineLength = 0;
    for (const FieldDef& f : FieldTable()) {
        const std::string pattern = FieldNamePattern(f.name);
        if (std::find(seen.begin(), seen.end(), pattern) != seen.end()) continue;
        seen.push_back(pattern);
        if (f.group != group) {
            text += (group.empty() ? "  " : "\n  ") + f.group + ":";
            lineLength = f.group.size() + 3;
            group = f.group;
        }
        if (lineLength + 1 + pattern.size() > 78) {  // wrapped for a terminal
            text += "\n   ";
            lineLength = 3;
        }
        text += " " + pattern;
        lineLength += 1 + pattern.size();
    }
    return text + "\n";
}

std::string UnknownFieldText(const std::string& name) {
    return "no field '" + name + "' (run 'zrv41k-cli fields' for the list)";
}

std::string TerminalText(const std::string& utf8) { return ListText(utf8); }

std::string RefusalText(const FieldDef& field, const std::optional<Message>& message) {
    if (!message) return field.name + ": the value was refused";
    if (message->key.empty()) return field.name + ": " + TerminalText(message->english);
    return field.name + ": " + message->key + ": " + TerminalText(message->english);
}

void PrintRefusal(const FieldDef& field, const std::optional<Message>& message) {
    std::cerr << RefusalText(field, message) << '\n';
}

void PrintWarning(const Message& message) {
    std::cerr << "warning: " << (message.key.empty() ? "" : message.key + ": ") << message.english << '\n';
}

}  // namespace zrv::cli
