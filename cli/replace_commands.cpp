// vask-cli replace DATA DEFINITIONS [-o OUTDIR]: the record replacement without its window.
// The change definitions are read first, as the window's run does; OUTDIR plays the
// program folder that receives the replaced copy.
#include "cli/cli.h"
#include "core/messages.h"
#include "replace/change_definitions.h"
#include "replace/record_replacement.h"

namespace vask::cli {
namespace {

Outcome runReplace(const Arguments& args) {
    const auto definitions = replace::CsvSet(args.positional[1]);
    if (!definitions) return Outcome::refused(msg::kNoDefinitionFile);
    return replace::Cnv(args.positional[0], *definitions, args.outputFolder());
}

const CommandRegistration registration({
    .order = 70,
    .name = "replace",
    .synopsis = "replace DATA DEFINITIONS [-o OUTDIR]",
    .valueOptions = {"-o"},
    .positionalCount = 2,
    .run = runReplace,
});

}  // namespace
}  // namespace vask::cli
