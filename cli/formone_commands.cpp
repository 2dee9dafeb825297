// vask-cli subcommands of the form-1 converters, without their windows. OUTDIR plays the
// program folder: the converters write into it, and "output.tsv" of the Movacal variant
// lies there.
//
//   carte FORM1                 the first converter
//   carte2 FORM1                the second converter; the year-month is field 3 of line 2,
//                               taken as choosing the file takes it, unless --month gives
//                               it; --movacal MAPPING runs the Movacal variant
//   map INPUT MAPPING OUTPUT    the column mapping step alone
//   blank-names FORM1           the anonymised copy without patient names; with --profile
//                               pseudonym also with chart numbers made pseudonyms
//                               (under the key of --key FILE, or the user's own)
#include "cli/check_commands.h"
#include "cli/cli.h"
#include "cli/profile_options.h"
#include "core/messages.h"
#include "formone/anonymiser.h"
#include "formone/anonymiser_check.h"
#include "formone/first_converter.h"
#include "formone/form1_file.h"
#include "formone/mapping.h"
#include "formone/second_converter.h"
#include "platform/paths.h"

namespace vask::cli {
namespace {

Outcome runCarte(const Arguments& args) { return formone::runFirstConverter(args.positional[0], args.outputFolder()); }

Outcome runCarte2(const Arguments& args) {
    const std::u16string& form1 = args.positional[0];
    std::optional<std::u16string> month = args.option("--month");
    if (!month) month = formone::chosenYearMonth(toPath(form1));
    if (!month) return Outcome::refused(msg::kNotFormOneFile);
    std::optional<std::filesystem::path> mapping;
    if (const auto given = args.option("--movacal")) mapping = toPath(*given);
    return formone::runSecondConverter(form1, *month, args.outputFolder(), mapping);
}

Outcome runMap(const Arguments& args) {
    const auto output = toPath(args.positional[2]);
    LostCharacters lost;
    if (!formone::ConvertTSVWithMapping(toPath(args.positional[0]), output, toPath(args.positional[1]), &lost)) {
        return Outcome::wrote({});  // an input without any line writes nothing
    }
    Outcome outcome = Outcome::wrote({output});
    warnOfLostCharacters(outcome, lost);
    return outcome;
}

Outcome runBlankNames(const Arguments& args) {
    const AnonymisationProfile profile = profileOption(args);
    auto pseudonyms = pseudonymsFor(args, profile);
    const Outcome outcome =
        formone::runAnonymiser(args.positional[0], args.outputFolder(), pseudonyms ? &*pseudonyms : nullptr);
    checkAfterwards(outcome, [&](const std::filesystem::path& written) {
        return formone::checkAnonymisedFormOne(toPath(args.positional[0]), written, profile);
    });
    return outcome;
}

const CommandRegistration carte({
    .order = 30,
    .name = "carte",
    .synopsis = "carte FORM1 [-o OUTDIR]",
    .valueOptions = {"-o"},
    .positionalCount = 1,
    .run = runCarte,
});

const CommandRegistration carte2({
    .order = 40,
    .name = "carte2",
    .synopsis = "carte2 FORM1 [--month TEXT] [--movacal MAPPING] [-o OUTDIR]",
    .valueOptions = {"-o", "--month", "--movacal"},
    .positionalCount = 1,
    .run = runCarte2,
});

const CommandRegistration map({
    .order = 50,
    .name = "map",
    .synopsis = "map INPUT MAPPING OUTPUT",
    .valueOptions = {},
    .positionalCount = 3,
    .run = runMap,
});

const CommandRegistration blankNames({
    .order = 60,
    .name = "blank-names",
    .synopsis = "blank-names FORM1 [--profile written|pseudonym] [--key FILE] [-o OUTDIR]",
    .valueOptions = {"-o", "--profile", "--key"},
    .positionalCount = 1,
    .run = runBlankNames,
});

}  // namespace
}  // namespace vask::cli
