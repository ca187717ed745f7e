#include "cli/solution_json.h"

#include <array>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <vector>

#include "solver/search_state.h"
#include "strings/encoding.h"

namespace kv::cli {
namespace {

using Json = nlohmann::ordered_json;

// The document's format version: raised when a field changes meaning.
constexpr int FormatVersion = 1;

constexpr std::array<const char*, 6> ThreatNames = {"none",   "check", "waiting",
                                                    "threat", "adLib", "forced"};
constexpr std::array<const char*, 4> PhaseNames = {"setPlay", "try", "test", "solution"};

// The texts inside are Windows-1252; JSON strings are UTF-8.
Json Text(std::string_view cp1252) {
  return Cp1252ToUtf8(std::string(cp1252));
}

Json Letter(char c) {
  return c == 0 ? Json(nullptr) : Json(std::string(1, c));
}

Json MoveJson(const TreeMove& m) {
  return Json{{"text", Text(m.text)},
              {"colour", m.white ? "white" : "black"},
              {"piece", Letter(m.piece)},
              {"from", m.from},
              {"to", m.to},
              {"capture", m.capture},
              {"promotion", Letter(m.promotion)},
              {"check", m.check},
              {"anyMove", m.anyMove},
              {"letter", Letter(m.letter)}};
}

Json MovesJson(const std::vector<TreeMove>& moves) {
  Json list = Json::array();
  for (const TreeMove& m : moves) list.push_back(MoveJson(m));
  return list;
}

Json LineJson(const TreeLine& line);

Json LinesJson(const std::vector<TreeLine>& lines) {
  Json list = Json::array();
  for (const TreeLine& l : lines) list.push_back(LineJson(l));
  return list;
}

Json ThreatJson(const TreeThreat& threat) {
  return Json{{"kind", ThreatNames[static_cast<std::size_t>(threat.kind)]},
              {"moves", LinesJson(threat.moves)}};
}

// A reply line: the replies, the answer and its duals, then what follows.
Json LineJson(const TreeLine& line) {
  Json j;
  j["replies"] = MovesJson(line.replies);
  j["answer"] = line.answers.empty() ? Json(nullptr) : MoveJson(line.answers.front());
  std::vector<TreeMove> duals;
  if (line.answers.size() > 1) duals.assign(line.answers.begin() + 1, line.answers.end());
  j["duals"] = MovesJson(duals);
  j["mate"] = line.mate;
  j["threat"] = ThreatJson(line.threat);
  j["variations"] = LinesJson(line.variations);
  return j;
}

// Every line of a helpmate's play from its first move to the mate: each
// reply of a joined group and each dual answer gives a line of its own.
void CollectHelpLines(const std::vector<TreeLine>& variations, std::vector<const TreeMove*>& path,
                      Json& out) {
  for (const TreeLine& v : variations) {
    for (const TreeMove& reply : v.replies) {
      for (const TreeMove& answer : v.answers) {
        path.push_back(&reply);
        path.push_back(&answer);
        if (v.variations.empty()) {
          Json line = Json::array();
          for (const TreeMove* m : path) line.push_back(MoveJson(*m));
          out.push_back(std::move(line));
        } else {
          CollectHelpLines(v.variations, path, out);
        }
        path.pop_back();
        path.pop_back();
      }
    }
  }
}

// A series mover's solution: its series, the other side's last moves, and
// every line from the first move to the goal (one per last move).
Json SeriesPlayJson(const TreePlay& play) {
  Json j;
  j["move"] = nullptr;
  j["mateInOne"] = false;
  j["short"] = play.shortSolution;
  j["threat"] = ThreatJson(play.line.threat);
  j["variations"] = Json::array();
  j["refutation"] = nullptr;
  j["series"] = MovesJson(play.series);
  j["finals"] = MovesJson(play.finals);
  Json lines = Json::array();
  const Json series = MovesJson(play.series);
  if (play.finals.empty()) lines.push_back(series);
  for (const TreeMove& final : play.finals) {
    Json line = series;
    line.push_back(MoveJson(final));
    lines.push_back(std::move(line));
  }
  j["lines"] = std::move(lines);
  return j;
}

Json PlayJson(const TreePlay& play, bool help) {
  Json j;
  j["move"] = play.line.answers.empty() ? Json(nullptr) : MoveJson(play.line.answers.front());
  j["mateInOne"] = play.mateInOne;
  j["short"] = play.shortSolution;
  j["threat"] = ThreatJson(play.line.threat);
  j["variations"] = LinesJson(play.line.variations);
  if (play.refutationsShown) {
    j["refutation"] = Json{{"mates", play.refutedByMate},
                           {"stalemate", play.stalemate},
                           {"moves", MovesJson(play.refutations)}};
  } else {
    j["refutation"] = nullptr;
  }
  if (help) {
    Json lines = Json::array();
    std::vector<const TreeMove*> path;
    if (!play.line.answers.empty()) path.push_back(&play.line.answers.front());
    CollectHelpLines(play.line.variations, path, lines);
    // A first move that mates at once is a line by itself.
    if (play.mateInOne && !path.empty()) lines.push_back(Json::array({MoveJson(*path.front())}));
    j["lines"] = std::move(lines);
  }
  return j;
}

constexpr std::array<const char*, 4> SeriesModeNames = {"series", "seriesHelp", "seriesSelf",
                                                        "seriesReflex"};

const char* ModeName(const TreeRun& run) {
  if (run.series >= 1 && run.series <= 4) return SeriesModeNames[run.series - 1];
  switch (run.helpMode) {
    case HelpMode::BlackBegins:
      return "help";
    case HelpMode::WhiteBegins:
      return "helpWhiteBegins";
    case HelpMode::SetPlayRun:
      return "helpSetPlay";
    case HelpMode::None:
      break;
  }
  switch (run.selfMode) {
    case SelfMode::Self:
      return "self";
    case SelfMode::Reflex:
      return "reflex";
    case SelfMode::None:
      break;
  }
  return "direct";
}

Json RunJson(const TreeRun& run) {
  Json j;
  j["mode"] = ModeName(run);
  j["goal"] = run.stalemate ? "stalemate" : "mate";
  j["maximummer"] = run.maximummer;
  j["searchMilliseconds"] = run.searched ? Json(run.searchMilliseconds) : Json(nullptr);
  j["userBreak"] = run.userBreak;
  j["noSolution"] = run.noSolution;
  j["shortMate"] = run.shortMate;
  j["truncated"] = run.truncated;
  j["keyCount"] = run.keyCount;
  Json phases = Json::array();
  for (const TreePhase& phase : run.phases) {
    Json plays = Json::array();
    for (const TreePlay& play : phase.plays)
      plays.push_back(run.series != 0 ? SeriesPlayJson(play)
                                      : PlayJson(play, run.helpMode != HelpMode::None));
    phases.push_back(Json{{"phase", PhaseNames[static_cast<std::size_t>(phase.phase)]},
                          {"plays", std::move(plays)}});
  }
  j["phases"] = std::move(phases);
  return j;
}

// The type text without the blank that leads it in a column.
std::string TypeText(const ProblemType& type) {
  const std::string text = FormatProblemType(type);
  const std::size_t start = text.find_first_not_of(' ');
  return start == std::string::npos ? std::string() : text.substr(start);
}

}  // namespace

std::string SolutionJson(const SolutionTree& tree, const ProblemType& type, std::string_view stop,
                         std::string_view text) {
  Json doc;
  doc["format"] = "kestrovale-solution";
  doc["version"] = FormatVersion;
  doc["stipulation"] = Text(TypeText(type));
  doc["stop"] = std::string(stop);
  std::uint64_t total = 0;
  Json twins = Json::array();
  for (const TreeTwin& twin : tree.twins) {
    Json runs = Json::array();
    for (const TreeRun& run : twin.runs) {
      total += run.searchMilliseconds;
      runs.push_back(RunJson(run));
    }
    twins.push_back(Json{{"heading", twin.heading.empty() ? Json(nullptr) : Text(twin.heading)},
                         {"runs", std::move(runs)}});
  }
  doc["twins"] = std::move(twins);
  doc["searchMilliseconds"] = total;
  doc["text"] = std::string(text);
  // Replacing bytes that are no UTF-8 keeps dump() from throwing.
  return doc.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

}  // namespace kv::cli
