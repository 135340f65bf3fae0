#include "cli/field_cli.h"

#include <iostream>

#include "cli/cli_notifier.h"
#include "core/default_image.h"
#include "core/table_file.h"

namespace zrv::cli {

bool OpenTable(const std::string& path, OpenedTable& table) {
    table.image = StartupImage();
    table.capcodeCount = 16;
    const TableFileResult result = LoadTableFile(path, table.image, table.capcodeCount);
    if (!result.ok) {
        StderrNotifier notifier;
        if (result.message) notifier.show(*result.message);
        return false;
    }
    table.context = ContextAfterOpen(table.image);
    table.context.capcodeCount = table.capcodeCount;
    return true;
}

bool SaveTable(const std::string& path, OpenedTable& table) {
    if (const auto error = SaveTableFile(path, table.image, table.capcodeCount)) {
        StderrNotifier notifier;
        notifier.show(*error);
        return false;
    }
    return true;
}

std::string UnknownFieldText(const std::string& name) {
    return "no field '" + name + "' (run 'zrv41k-cli fields' for the list)";
}

void PrintRefusal(const FieldDef& field, const std::optional<Message>& message) {
    if (!message) {
        std::cerr << field.name << ": the value was refused\n";
    } else if (message->key.empty()) {
        std::cerr << field.name << ": " << message->english << '\n';
    } else {
        std::cerr << message->key << ": " << message->english << '\n';
    }
}

void PrintWarning(const Message& message) {
    std::cerr << "warning: " << (message.key.empty() ? "" : message.key + ": ") << message.english << '\n';
}

}  // namespace zrv::cli
