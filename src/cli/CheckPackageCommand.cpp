#include "CheckPackageCommand.h"

#include <CLI/CLI.hpp>

#include "BoardRun.h"
#include "CliHost.h"
#include "PackageCheck.h"

namespace varnow::cli {

void CheckPackageCommand::Define(CLI::App& command) {
    command.add_option("package", m_package, "the package (.qvk)")->required();
}

int CheckPackageCommand::Execute(CommandContext& context) {
    if (const auto reason = PackageUnreadable(m_package)) {
        return Finish(context, kExitPackageRefused, "unreadable",
                      {{"package", QString::fromStdString(m_package)}},
                      OutcomeText{kCliPackageUnreadable, {m_package, *reason}});
    }
    CliHost host(context.output, context.strings, context.options.language, "", std::nullopt);
    Messenger messenger(host, context.strings, context.options.language);
    const PackageCheck check = CheckPackage(m_package, messenger, m_scratchFolder);
    if (!check.sound) {
        return Finish(context, kExitPackageRefused, "refused", check.fields,
                      OutcomeText{kErrPackageRefused, {m_package}});
    }
    return Finish(context, kExitSuccess, "sound", check.fields, std::nullopt);
}

}  // namespace varnow::cli
