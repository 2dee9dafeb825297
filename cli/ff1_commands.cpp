// vask-cli ff1 and ff1-merge: the FF1 link without its window. OUTDIR plays the Downloads
// folder that receives the EHR link CSV; the merged file is made in the FF1 folder and
// removed again however the run ends.
#include "cli/cli.h"
#include "ff1/ff1_link.h"
#include "ff1/ff1_merge.h"
#include "platform/paths.h"

namespace vask::cli {
namespace {

Outcome runLink(const Arguments& args) {
    const auto month = args.option("--month");
    if (!month) throw UsageError{"ff1 needs --month TEXT"};
    ff1::FF1LinkRequest request;
    request.ff1Folder = args.positional[0];
    request.specCsv = args.option("--spec").value_or(fromPath(programFolder() / toPath(ff1::kSpecFileName)));
    request.outputFolder = fromPath(args.outputFolder());
    request.appendCsv = args.option("--append").value_or(std::u16string());
    request.targetYearMonth = *month;
    return ff1::runFF1Link(request);
}

Outcome runMerge(const Arguments& args) {
    const std::u16string& outFile = args.positional[1];
    ff1::MergeFF1Latest(ff1::withTrailingSeparator(args.positional[0]), outFile);
    return Outcome::wrote({toPath(outFile)});
}

const CommandRegistration link({
    .order = 80,
    .name = "ff1",
    .synopsis = "ff1 FF1DIR --month TEXT [--spec SPECCSV] [--append CSV] [-o OUTDIR]",
    .valueOptions = {"--month", "--spec", "--append", "-o"},
    .positionalCount = 1,
    .run = runLink,
});

const CommandRegistration merge({
    .order = 81,
    .name = "ff1-merge",
    .synopsis = "ff1-merge FF1DIR OUTFILE",
    .valueOptions = {},
    .positionalCount = 2,
    .run = runMerge,
});

}  // namespace
}  // namespace vask::cli
