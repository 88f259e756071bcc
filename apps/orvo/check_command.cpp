// orvo check [--fix]: the database checker's report, and the repair of faulty borehole lists.
#include "cli.h"

#include "checker/check_texts.h"
#include "checker/database_check.h"
#include "platform/work_folder.h"

#include <iostream>

namespace orvo::cli {

int cmdCheck(const Context& ctx) {
    bool fix = false;
    for (const auto& a : ctx.args) {
        if (a != "--fix")
            return usage("check takes only --fix");
        fix = true;
    }
    platform::WorkFolder folder(ctx.dir);
    auto report = checker::ScanDatabase(folder);
    if (!report)
        return refuse(report.error());
    bool failed = false;
    if (fix) {
        const auto outcome = checker::FixBoreholeLists(folder, *report);
        for (const auto& failure : outcome.failures)
            refuse(failure);
        failed = !outcome.failures.empty();
        std::cout << checker::fixedMessage(outcome.rewritten) << '\n';
        report = checker::ScanDatabase(folder);
        if (!report)
            return refuse(report.error());
    }
    std::cout << checker::formatReport(*report);
    return failed || checker::faultCount(*report) != 0 ? kRefused : kOk;
}

} // namespace orvo::cli
