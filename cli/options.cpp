#include "cli/options.h"

#include <array>

#include "params/number_text.h"

namespace velmora::cli {

namespace {

enum class Kind { Setting, Flag, File, Threads, Other };

struct OptionSpec {
  const char* Long; // without "--"
  char Short;       // 0 when none
  bool TakesValue;
  Kind What;
  const char* Setting; // the setting a short form stands for, with its fixed value if any
  const char* Fixed;
};

// The settings options, by long name; short forms map onto them.
constexpr std::array kOptions = {
    OptionSpec{"type", 0, true, Kind::Setting, "type", nullptr},
    OptionSpec{"rounds", 'r', true, Kind::Setting, "rounds", nullptr},
    OptionSpec{"self-fights", 0, false, Kind::Setting, "self-fights", "1"},
    OptionSpec{"no-self-fights", 0, false, Kind::Setting, "self-fights", "0"},
    OptionSpec{"core-size", 's', true, Kind::Setting, "core-size", nullptr},
    OptionSpec{"min-core-size", 0, true, Kind::Setting, "min-core-size", nullptr},
    OptionSpec{"max-cycles", 'c', true, Kind::Setting, "max-cycles", nullptr},
    OptionSpec{"max-processes", 'p', true, Kind::Setting, "max-processes", nullptr},
    OptionSpec{"max-length", 'l', true, Kind::Setting, "max-length", nullptr},
    OptionSpec{"min-distance", 'd', true, Kind::Setting, "min-distance", nullptr},
    OptionSpec{"read-limit", 0, true, Kind::Setting, "read-limit", nullptr},
    OptionSpec{"write-limit", 0, true, Kind::Setting, "write-limit", nullptr},
    OptionSpec{"pspace-size", 'S', true, Kind::Setting, "pspace-size", nullptr},
    OptionSpec{"standard", 0, true, Kind::Setting, "standard", nullptr},
    OptionSpec{"", '8', false, Kind::Setting, "standard", "88"},
    OptionSpec{"position", 0, true, Kind::Setting, "position", nullptr},
    OptionSpec{"", 'F', true, Kind::Setting, "position", nullptr},
    OptionSpec{"", 'P', false, Kind::Setting, "position", "permutate"},
    OptionSpec{"seed", 0, true, Kind::Setting, "seed", nullptr},
    OptionSpec{"", 'f', false, Kind::Setting, "seed", "checksum"},
    OptionSpec{"initial", 0, true, Kind::Setting, "initial", nullptr},
    OptionSpec{"formula", '=', true, Kind::Setting, "formula", nullptr},
    OptionSpec{"percent", 0, false, Kind::Setting, "percent", "1"},
    OptionSpec{"no-percent", 0, false, Kind::Setting, "percent", "0"},
    OptionSpec{"early-draw", 0, false, Kind::Setting, "early-draw", "1"},
    OptionSpec{"no-early-draw", 0, false, Kind::Setting, "early-draw", "0"},
    OptionSpec{"settings", 0, true, Kind::File, "settings", nullptr},
    OptionSpec{"save-settings", 0, true, Kind::File, "save-settings", nullptr},
    OptionSpec{"benchmark", 0, true, Kind::File, "benchmark", nullptr},
    OptionSpec{"report", 0, true, Kind::File, "report", nullptr},
    OptionSpec{"json", 0, true, Kind::File, "json", nullptr},
    OptionSpec{"threads", 0, true, Kind::Threads, "threads", nullptr},
    OptionSpec{"koth", 'k', false, Kind::Flag, "koth", nullptr},
    OptionSpec{"sort", 'o', false, Kind::Flag, "sort", nullptr},
    OptionSpec{"brief", 'b', false, Kind::Flag, "brief", nullptr},
    OptionSpec{"listing", 0, false, Kind::Flag, "listing", nullptr},
    OptionSpec{"quiet", 'q', false, Kind::Flag, "quiet", nullptr},
    OptionSpec{"help", 'h', false, Kind::Flag, "help", nullptr},
    OptionSpec{"version", 'V', false, Kind::Flag, "version", nullptr},
};

const OptionSpec* FindLong(const std::string& name) {
  for (const OptionSpec& o : kOptions)
    if (name == o.Long) return &o;
  return nullptr;
}

const OptionSpec* FindShort(char c) {
  for (const OptionSpec& o : kOptions)
    if (o.Short == c) return &o;
  return nullptr;
}

bool Store(const OptionSpec& o, const std::string& value, CliOptions& opt, std::string& error) {
  const std::string what = o.Setting;
  switch (o.What) {
  case Kind::Setting: opt.Settings.emplace_back(what, o.Fixed ? o.Fixed : value); break;
  case Kind::File:
    if (what == "settings")
      opt.SettingsFile = value;
    else if (what == "save-settings")
      opt.SaveSettingsFile = value;
    else if (what == "benchmark")
      opt.BenchmarkFile = value;
    else if (what == "report")
      opt.ReportFile = value;
    else
      opt.JsonFile = value;
    break;
  case Kind::Threads: {
    const auto n = ParseNumberText(value);
    if (!n || *n < 1 || *n > 1024) {
      error = "Threads must be a number from 1 to 1024";
      return false;
    }
    opt.Threads = *n;
    break;
  }
  case Kind::Flag:
    if (what == "koth")
      opt.Koth = true;
    else if (what == "sort")
      opt.SortByScore = true;
    else if (what == "brief")
      opt.Brief = true;
    else if (what == "listing")
      opt.Listing = true;
    else if (what == "quiet")
      opt.Quiet = true;
    else if (what == "help")
      opt.Help = true;
    else
      opt.Version = true;
    break;
  case Kind::Other: break;
  }
  return true;
}

} // namespace

bool ParseOptions(const std::vector<std::string>& args, CliOptions& opt, std::string& error) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--") {
      opt.Files.insert(opt.Files.end(), args.begin() + long(i) + 1, args.end());
      return true;
    }
    if (a.size() < 2 || a[0] != '-') {
      opt.Files.push_back(a);
      continue;
    }
    const OptionSpec* o = nullptr;
    std::optional<std::string> attached;
    if (a[1] == '-') {
      const size_t eq = a.find('=');
      const std::string name = a.substr(2, eq == std::string::npos ? std::string::npos : eq - 2);
      if (eq != std::string::npos) attached = a.substr(eq + 1);
      o = name.empty() ? nullptr : FindLong(name);
      if (!o) {
        error = "Unknown option " + a;
        return false;
      }
      if (!o->TakesValue && attached) {
        error = "Option --" + name + " takes no value";
        return false;
      }
    } else {
      o = FindShort(a[1]);
      if (!o) {
        error = "Unknown option " + a;
        return false;
      }
      if (a.size() > 2) {
        // "-r100" carries its value; flags do not combine.
        if (!o->TakesValue) {
          error = "Unknown option " + a;
          return false;
        }
        attached = a.substr(2);
      }
    }
    std::string value;
    if (o->TakesValue) {
      if (attached) {
        value = *attached;
      } else if (i + 1 < args.size()) {
        value = args[++i];
      } else {
        error = "Option " + a + " needs a value";
        return false;
      }
    }
    if (!Store(*o, value, opt, error)) return false;
  }
  return true;
}

std::string UsageText() {
  return R"(Usage: velmora-cli [options] FILE...

Runs a Redcode tournament without a window and prints the results report. Each FILE is a
warrior source or a warrior list (first line ";warriorlist", then one path a line). Two
warriors fight one matchup; more fight a melee, unless --type says otherwise.

Settings come from --settings FILE, then from the options below, in that order; a
default.cfg in the working directory is not read, so a script gives the same results in
any folder. Every warrior file is read and compiled before the first round: a file that
cannot be read, an empty one, a blank line in a list or a warrior that does not compile is
reported as "FILE: message" and nothing is played. A relative path in a list is taken from
the working directory, else from the list's own folder.

Tournament:
  --type melee|round-robin|challenge|benchmark
                          tournament type (challenge: the first warrior challenges)
  --benchmark FILE        benchmark warrior or list (implies --type benchmark)
  -r, --rounds N          rounds per matchup
  --self-fights, --no-self-fights
  -=, --formula EXPR      score formula in W (warriors) and S (survivors)
  --percent, --no-percent outcomes in the report as percentages or counts
Battle parameters:
  -s, --core-size N       core size (the largest one when random)
  --min-core-size N       random core size between N and the core size
  -c, --max-cycles N      cycles per round
  -p, --max-processes N   processes per warrior
  -l, --max-length N      longest warrior
  -d, --min-distance N    least distance between warriors
  --read-limit N|core|1/4|1/16
  --write-limit N|core|1/4|1/16
  -S, --pspace-size N|1/16|core
  --standard 88|94|94p    -8: the 1988 standard
  --position random|permutate|N
                          -F N: fixed position of the second warrior; -P: permutate
                          (rounds default to (C - 2D + 1) x 2 when -r is not given)
  --seed random|checksum|N
                          -f: checksum seed
  --initial "DAT 0,0"|RANDOM|TEXT
                          what the core is filled with
  --early-draw, --no-early-draw
Output:
  --report FILE           write the report file (CR LF lines)
  --json FILE             write the results as JSON ("-": standard output, not with -k)
  -k, --koth              KotH output: per warrior "wins ties" (two warriors), or its
                          score, survivor counts and losses (melee)
  -o, --sort              with -k (required), warriors by score, highest first
  -b, --brief             no listings (none are printed unless --listing)
  --listing               only assemble: each warrior's load file, or its errors
  --save-settings FILE    write the settings in force as a settings file
  --threads N             matchups in parallel, one engine per thread (default: cores)
  -q, --quiet             only errors and warnings on standard error: no progress line,
                          no "Tournament complete."
  -h, --help              this text
  -V, --version           the program's version

Exit status: 0 success; 1 a warrior file could not be read or compiled, a round could not
be set up, or output could not be written; 2 a bad option or value.
)";
}

} // namespace velmora::cli
