#include "shell/calc_command.h"

#include "differential/differential_calculation.h"
#include "gears/differential_ratio.h"
#include "gears/gear_lines.h"
#include "gears/result_export.h"
#include "gears/set_details.h"
#include "job/hobbing_job.h"
#include "job/job_report.h"
#include "ordinary/ordinary_calculation.h"
#include "platform/application_directory.h"
#include "printing/result_printout.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <new>
#include <optional>
#include <ostream>

namespace kelvaro {

namespace {

constexpr const char* kUsage =
    "Usage: kelvaro-calc ordinary [--printout | --format F] RATIO TOLERANCE SMALLEST LARGEST\n"
    "       kelvaro-calc differential [--printout | --format F] [--catalogue DIR] MODEL\n"
    "                    MODULE DEGREES MINUTES SECONDS TOLERANCE [TEETH]\n"
    "       kelvaro-calc job [--catalogue DIR] [--format text|json]\n"
    "                    [--index-constant C] [--box LIST] [--clearance S]\n"
    "                    [--hob-lead DEG] [--hands same|opposite]\n"
    "                    [--part-hand left|right] [--hob-hand left|right]\n"
    "                    [--correction larger|smaller:F/L] [--feed S]\n"
    "                    [--feed-constant C[,C...]] [--feed-pairs A/B[,A/B...]]\n"
    "                    [--helix-extra with|against] [--face-width B]\n"
    "                    MODEL TEETH STARTS MODULE DEGREES MINUTES SECONDS TOLERANCE\n"
    "       kelvaro-calc --help | --version\n";

constexpr const char* kHelp =
    "kelvaro-calc runs Kelvaro's change-gear calculations without a window.\n"
    "\n"
    "  kelvaro-calc ordinary [--printout | --format F] RATIO TOLERANCE SMALLEST LARGEST\n"
    "\n"
    "Each argument is the text of one field of the ordinary calculation window\n"
    "(ratio, tolerance, smallest and largest tooth count), read exactly as the\n"
    "window reads it; an empty argument (\"\") is an empty field.\n"
    "\n"
    "  kelvaro-calc differential [--printout | --format F] [--catalogue DIR]\n"
    "               MODEL MODULE DEGREES MINUTES SECONDS TOLERANCE [TEETH]\n"
    "\n"
    "The differential calculation for the machine MODEL of the catalogue in\n"
    "DIR (jixing.dat and one MODEL.dat per machine); without --catalogue, the\n"
    "catalogue in the folder of this program. MODULE, DEGREES, MINUTES,\n"
    "SECONDS, TOLERANCE and TEETH are the texts of the differential window's\n"
    "fields (module, helix angle, allowed error, part tooth count); an empty\n"
    "argument is an empty field and a missing TEETH an empty tooth-count field.\n"
    "MODEL is the chosen machine model exactly (an empty argument: none chosen).\n"
    "\n"
    "Prints the items that the result list would hold, one per line (UTF-8).\n"
    "With --printout it prints the lines of the printed document instead: the\n"
    "data line and the column header, then the printout text of the\n"
    "calculation. Options come before the field texts and are the names above\n"
    "only (another \"--name\" is refused); any other argument, such as -1.5,\n"
    "is a field text. \"--\" ends the options, for a model named like one.\n"
    "\n"
    "--format text|csv|json chooses the output: text is the above (the\n"
    "default); csv the sets with their facts as the window's CSV export writes\n"
    "them (UTF-8 with a byte-order mark, CR LF); json one object with the\n"
    "sets, the best and the nearest set, the tolerance that would list a set\n"
    "where none is listed, and the reachable ratios. Where the window would\n"
    "show a message or the item 请输入数值, csv writes it to standard error and\n"
    "json writes {\"message\": ...} to standard output; both exit with status 1.\n"
    "\n"
    "A calculation lists at most 1000000 sets; beyond that it prints the\n"
    "window's message to standard error instead. Tooth counts of 2^53 or more,\n"
    "where a count plus 1 is the same count, are refused like a missing input.\n"
    "A search over a very wide range can run long: interrupt it with Ctrl-C.\n"
    "\n"
    "Exit status (text): 0 when the calculation ran (a missing input gives the item\n"
    "请输入数值, as in the window); 1 when the window would show a message box\n"
    "instead, whose text then goes to standard error; 2 for wrong arguments.\n"
    "\n"
    "  kelvaro-calc job [options] MODEL TEETH STARTS MODULE DEGREES MINUTES SECONDS\n"
    "               TOLERANCE\n"
    "\n"
    "A hobbing job on the machine MODEL: the index train, exact, and the\n"
    "differential train within TOLERANCE, both from the machine's box of change\n"
    "gears and both mountable; TEETH and STARTS are the part's teeth and the\n"
    "hob's starts, DEGREES MINUTES SECONDS the helix angle (0 0 0: a spur gear).\n"
    "The machine's data file (MODEL.dat.txt) gives the index constant, the box,\n"
    "the clearance, the feed lines, the feed pairs and the helix extra;\n"
    "these options replace them for one run:\n"
    "  --index-constant C   C for every Z/K\n"
    "  --box LIST           N, N*Q, A-B add gears, -N removes one: 20-100,25,-37\n"
    "  --clearance S        the room in teeth the shaft and its spacer need\n"
    "  --hob-lead DEG, --hands same|opposite   the hob, for its setting angle\n"
    "  --part-hand, --hob-hand left|right      the two hands; same or opposite follows\n"
    "  --correction larger|smaller:F/L   the first piece's helix angle was\n"
    "                       larger or smaller by F um over L mm\n"
    "  --feed S             the wanted feed, mm per table revolution: the feed\n"
    "                       train, and differential indexing where no exact index\n"
    "                       train exists (Z0 = Z + p/q, q <= 50)\n"
    "  --feed-constant C[,C...]   the feed lines' constants C_f (s = C_f x a1/b1),\n"
    "                       such as 0.4608pi*30/54\n"
    "  --feed-pairs A/B[,A/B...]  the feed pairs a1/b1 (none: from the box)\n"
    "  --helix-extra with|against  with hob and part of the same hand, the helix's\n"
    "                       extra rotation turns the table with or against its\n"
    "                       generating rotation\n"
    "  --face-width B       the face width in mm: the helix deviation in um over B\n"
    "--format json gives one object; a refused job is {\"message\": ...} with\n"
    "status 1 (text: the message on standard error). A box of more than 400\n"
    "tooth counts is announced on standard error first, with the time it may take.\n"
    "\n"
    "  kelvaro-calc --version   prints the version of Kelvaro.\n";

// Writes the pieces of a long text to `out` as they come.
TextSink streamTo(std::ostream& out) {
    return [&out](std::string_view piece) {
        out.write(piece.data(), static_cast<std::streamsize>(piece.size()));
    };
}

// Returns the exit status: a message (the window's message box) goes to
// standard error and nothing else is written.
// With a printout head the printed document's lines are written.
int writeOutcome(const CalculationOutcome& outcome, const std::optional<PrintoutHead>& printout,
                 std::ostream& out, std::ostream& err) {
    if (!outcome.message.empty()) {
        err << outcome.message << '\n';
        return 1;
    }
    if (printout) {
        out << printout->dataLine << '\n' << printout->header << '\n';
        if (outcome.results)
            writePrintText(*outcome.results, [&out](std::string_view piece) {
                std::string lines(piece);
                std::replace(lines.begin(), lines.end(), '\r', '\n');
                out << lines;
            });
        out << '\n';
        return 0;
    }
    // The lines are written into one buffer and go out in large writes: a
    // list of a hundred thousand sets makes no string of its own per line.
    const TextSink sink = streamTo(out);
    ChunkedText lines(sink);
    if (outcome.results) {
        const std::size_t rows = resultLineCount(*outcome.results);
        for (std::size_t row = 0; row < rows; ++row) {
            appendResultLine(lines.text, *outcome.results, row);
            lines.text += '\n';
            lines.next();
        }
    }
    for (const std::string& item : outcome.items) {
        lines.text += item;
        lines.text += '\n';
        lines.next();
    }
    lines.finish();
    return 0;
}

// The calculation's name, its options and its field texts.
struct Arguments {
    std::string mode;
    bool printout = false;
    std::string format = "text";
    bool hasCatalogue = false;
    std::string catalogue;
    std::map<std::string, std::string> jobOptions; // "--box" -> its value
    std::vector<std::string> fields;
    bool valid = true;
};

// Takes "--format F" at args[i], if it stands there.
bool takeFormat(std::vector<std::string>& args, std::size_t i, Arguments& parsed) {
    if (i + 1 >= args.size() || args[i] != "--format") return false;
    parsed.format = args[i + 1];
    args.erase(args.begin() + static_cast<std::ptrdiff_t>(i),
               args.begin() + static_cast<std::ptrdiff_t>(i + 2));
    return true;
}

bool isJobOption(const std::string& option) {
    return option == "--index-constant" || option == "--box" || option == "--clearance" ||
           option == "--hob-lead" || option == "--hands" || option == "--correction" ||
           option == "--part-hand" || option == "--hob-hand" || option == "--feed" ||
           option == "--feed-constant" || option == "--feed-pairs" || option == "--helix-extra" ||
           option == "--face-width";
}

// --printout and --format F may stand before or after the calculation's
// name, the differential calculation's --catalogue DIR after it. Only these
// names are options, and a misspelt one of the differential calculation
// ("--" and a letter) is refused; any other argument (a negative number
// among them) begins the field texts, and "--" ends the options.
Arguments parseArguments(std::vector<std::string> args) {
    Arguments parsed;
    while (takeFormat(args, 0, parsed)) {
    }
    if (!args.empty() && args[0] == "--printout") {
        parsed.printout = true;
        args.erase(args.begin());
    }
    while (takeFormat(args, 0, parsed)) {
    }
    if (args.empty()) {
        parsed.valid = false;
        return parsed;
    }
    parsed.mode = args[0];
    std::size_t i = 1;
    while (i < args.size()) {
        const std::string& option = args[i];
        if (option == "--") {
            ++i;
            break;
        }
        if (option == "--printout") {
            parsed.printout = true;
            ++i;
        } else if (option == "--format" && i + 1 < args.size()) {
            parsed.format = args[i + 1];
            i += 2;
        } else if (parsed.mode == "job" && isJobOption(option)) {
            if (i + 1 >= args.size()) {
                parsed.valid = false;
                return parsed;
            }
            parsed.jobOptions[option] = args[i + 1];
            i += 2;
        } else if (option == "--catalogue" &&
                   (parsed.mode == "differential" || parsed.mode == "job")) {
            if (i + 1 >= args.size()) {
                parsed.valid = false;
                return parsed;
            }
            parsed.hasCatalogue = true;
            parsed.catalogue = args[i + 1];
            i += 2;
        } else if ((parsed.mode == "differential" || parsed.mode == "job") && option.size() > 2 &&
                   option.starts_with("--") &&
                   std::isalpha(static_cast<unsigned char>(option[2]))) {
            parsed.valid = false; // a misspelt option, not a model
            return parsed;
        } else {
            break;
        }
    }
    parsed.fields.assign(args.begin() + static_cast<std::ptrdiff_t>(i), args.end());
    const bool knownFormat =
        parsed.format == "text" || parsed.format == "csv" || parsed.format == "json";
    if (!knownFormat || (parsed.printout && parsed.format != "text")) parsed.valid = false;
    if (parsed.mode == "job" && (parsed.printout || parsed.format == "csv")) parsed.valid = false;
    return parsed;
}

// A refusal in csv or json: the message, exit status 1.
int refuse(const std::string& format, const std::string& message, std::ostream& out,
           std::ostream& err) {
    if (format == "json")
        out << messageJson(message) << '\n';
    else
        err << message << '\n';
    return 1;
}

// An outcome as csv or json: the sets of a completed search with their
// facts, or the refusal.
int writeFacts(const std::string& format, const CalculationOutcome& outcome, std::ostream& out,
               std::ostream& err) {
    if (!outcome.message.empty()) return refuse(format, outcome.message, out, err);
    if (!outcome.results || !outcome.facts) return refuse(format, kMissingInputItem, out, err);
    const GearSearchResult& result = *outcome.results;
    const CalculationFacts& facts = *outcome.facts;
    const ExtraFacts* extra = facts.extra.values ? &facts.extra : nullptr;
    if (format == "csv") {
        writeSetsCsv(result.sets, facts.inputs.ratio, extra, streamTo(out));
        return 0;
    }
    ResultReport report = reportResults(facts.inputs, result);
    report.clearance = facts.clearance;
    writeResultsJson(report, extra, facts.kind, streamTo(out));
    out << '\n';
    return 0;
}

int runDifferential(const Arguments& args, std::ostream& out, std::ostream& err) {
    const std::vector<std::string>& f = args.fields;
    const std::string directory = args.hasCatalogue ? args.catalogue : applicationDirectory();
    const std::string noTeeth;
    const std::string& teeth = f.size() > 6 ? f[6] : noTeeth;
    const DifferentialInput input{f[1], f[2], f[3], f[4], f[5], teeth};
    const CalculationOutcome outcome = calculateDifferential(input, f[0], directory);
    if (args.format != "text") return writeFacts(args.format, outcome, out, err);
    std::optional<PrintoutHead> head;
    if (args.printout)
        head = differentialPrintoutHead(
            {"", f[1], f[2], f[3], f[4], teeth, describeModel(f[0]).needsPartTeeth});
    return writeOutcome(outcome, head, out, err);
}

// The job's options into its request; false for a value that is none of
// the words or forms the option takes.
bool jobRequest(const Arguments& args, JobRequest& request) {
    const std::vector<std::string>& f = args.fields;
    request.model = f[0];
    request.teeth = f[1];
    request.starts = f[2];
    request.module = f[3];
    request.degrees = f[4];
    request.minutes = f[5];
    request.seconds = f[6];
    request.tolerance = f[7];
    for (const auto& [option, value] : args.jobOptions) {
        if (option == "--index-constant") request.indexConstant = value;
        if (option == "--box") request.box = value;
        if (option == "--clearance") request.clearance = value;
        if (option == "--hob-lead") request.hobLead = value;
        if (option == "--feed") request.feed = value;
        if (option == "--feed-constant") request.feedConstants = value;
        if (option == "--feed-pairs") request.feedPairs = value;
        if (option == "--face-width") request.faceWidth = value;
        if (option == "--helix-extra") {
            const auto extra = readHelixExtra(value);
            if (!extra) return false;
            request.helixExtra = *extra;
        }
        if (option == "--hands") {
            if (value != "same" && value != "opposite") return false;
            request.hands = value == "same" ? Hands::Same : Hands::Opposite;
        }
        if (option == "--part-hand" || option == "--hob-hand") {
            if (value != "left" && value != "right") return false;
            (option == "--part-hand" ? request.partHand : request.hobHand) =
                value == "left" ? Hand::Left : Hand::Right;
        }
        if (option == "--correction") {
            const auto colon = value.find(':'), slash = value.find('/');
            const std::string word = value.substr(0, colon);
            if (colon == std::string::npos || slash == std::string::npos || slash < colon ||
                (word != "larger" && word != "smaller"))
                return false;
            request.measured =
                word == "larger" ? JobRequest::Measured::Larger : JobRequest::Measured::Smaller;
            request.deviation = value.substr(colon + 1, slash - colon - 1);
            request.length = value.substr(slash + 1);
        }
    }
    return true;
}

int runJob(const Arguments& args, std::ostream& out, std::ostream& err) {
    JobRequest request;
    if (!jobRequest(args, request)) {
        err << kUsage;
        return 2;
    }
    const std::string directory = args.hasCatalogue ? args.catalogue : applicationDirectory();
    // A very large box is announced before the long search (Ctrl-C ends it).
    if (const std::string notice = largeBoxNotice(request, directory); !notice.empty())
        err << notice << "（Ctrl-C 可中断）\n";
    const HobbingJob job = runHobbingJob(request, directory);
    if (args.format == "json") {
        out << jobJson(job) << '\n';
    } else {
        for (const std::string& line : jobLines(job))
            (job.message.empty() ? out : err) << line << '\n';
    }
    return job.message.empty() ? 0 : 1;
}

// The calculation that the arguments name, or the usage and status 2.
int runParsed(const Arguments& parsed, std::ostream& out, std::ostream& err) {
    if (parsed.valid) {
        const std::size_t count = parsed.fields.size();
        if (parsed.mode == "ordinary" && count == 4) {
            const auto& f = parsed.fields;
            const CalculationOutcome outcome = calculateOrdinary({f[0], f[1], f[2], f[3]});
            if (parsed.format != "text") return writeFacts(parsed.format, outcome, out, err);
            std::optional<PrintoutHead> head;
            if (parsed.printout) head = ordinaryPrintoutHead({"", f[0]});
            return writeOutcome(outcome, head, out, err);
        }
        if (parsed.mode == "differential" && (count == 6 || count == 7))
            return runDifferential(parsed, out, err);
        if (parsed.mode == "job" && count == 8) return runJob(parsed, out, err);
    }
    err << kUsage;
    return 2;
}

} // namespace

int runCalcCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    // After "--" a "--help" is a field text.
    const auto optionsEnd = std::find(args.begin(), args.end(), "--");
    if (std::find(args.begin(), optionsEnd, "--help") != optionsEnd) {
        out << kHelp;
        return 0;
    }
    if (std::find(args.begin(), optionsEnd, "--version") != optionsEnd) {
        out << "kelvaro-calc " KELVARO_VERSION "\n";
        return 0;
    }

    const Arguments parsed = parseArguments(args);
    // Memory that runs out ends the calculation as a message would. The
    // search takes its memory before anything is written; the output goes
    // out in pieces and needs little.
    try {
        return runParsed(parsed, out, err);
    } catch (const std::bad_alloc&) {
        return refuse(parsed.format, kOutOfMemoryMessage, out, err);
    }
}

} // namespace kelvaro
