#include "print/print_cli.h"

#include <sys/mman.h>
#include <unistd.h>

#include <QBuffer>
#include <QPrinter>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string_view>

#include "collections/problem_file.h"
#include "print/output_files.h"
#include "print/print_job.h"
#include "solver/problem_type.h"
#include "solver/solve_driver.h"
#include "solver/solve_options_logic.h"
#include "strings/encoding.h"

namespace kv::print {
namespace {

constexpr int MaxProblemNumber = 32768;
constexpr int PngDpi = 150;
constexpr std::string_view PdfEnd = "%%EOF";

constexpr const char* UsageLine =
    "usage: kestrovale-print --format pdf|png --kind diagrams|report FILE.kvl OUT\n"
    "                        [-n N[,M...]] [--lang fr|en|it|es] [--output VALUE]\n";

int Usage(const std::string& message) {
  std::fprintf(stderr, "kestrovale-print: %s\n%s", message.c_str(), UsageLine);
  return PrintExitUsage;
}

int Failure(const std::string& message) {
  std::fprintf(stderr, "kestrovale-print: %s\n", message.c_str());
  return PrintExitFailure;
}

// The failure of an output file the tool may not write.
int RefusedOutput(const std::string& name, const std::string& refusal) {
  return Failure(name + ": " + refusal);
}

bool ParseLanguage(const std::string& code, Language& language) {
  static constexpr std::pair<const char*, int> codes[] = {{"fr", LanguageFrench},
                                                          {"en", LanguageEnglish},
                                                          {"it", LanguageItalian},
                                                          {"es", LanguageSpanish}};
  for (const auto& [name, base] : codes) {
    if (code == name) {
      language.base = base;
      return true;
    }
  }
  return false;
}

// The solution pane's text for a report: the stored solution, or, when the
// problem has none and can be solved, what "Search solution" would write.
std::string ReportText(const CurrentProblem& problem, const Board& board,
                       const Language& language) {
  if (!problem.solutionText.empty() || !CanSolve(problem.type)) return problem.solutionText;
  auto pos = std::make_unique<Position>();
  pos->board = board;
  ProblemType type = problem.type;
  SolveOptions options;
  SwitchOptionsToKind(options, type.kind);
  const UiCallbacks ui;
  auto solver = std::make_unique<Solver>();
  SolveEnvironment env{*pos, type, options, problem.twins, language, ui};
  return SolveEntry(*solver, env, type.moves);
}

std::string PngPageName(const std::string& output, int page) {
  return output + "-" + std::to_string(page + 1) + ".png";
}

// The document as a PDF in `pdf`; the number of pages, or 0 with `error`
// set. The PDF engine writes only to a file it opens by name and does not
// report failed writes, so it is given the name of a file in memory: there
// no write meets a full disk, and the bytes are then written out with every
// write checked. A PDF that does not end as one does is not taken.
int PrintPdfInMemory(PrintDocument& document, std::string& pdf, std::string& error) {
  const int fd = memfd_create("kestrovale-print", MFD_CLOEXEC);
  if (fd < 0) {
    error = std::strerror(errno);
    return 0;
  }
  QPrinter printer(QPrinter::HighResolution);
  MakePdfPrinter(printer, QString("/proc/self/fd/%1").arg(fd));
  const int printed = PrintDocumentOn(document, printer, PageRange{1, MaxSheetProblems});
  pdf.clear();
  char piece[1 << 16];
  for (off_t at = 0;;) {
    const ssize_t got = ::pread(fd, piece, sizeof piece, at);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    pdf.append(piece, static_cast<std::size_t>(got));
    at += got;
  }
  ::close(fd);
  std::string_view end(pdf);
  while (!end.empty() && (end.back() == '\n' || end.back() == '\r')) end.remove_suffix(1);
  if (printed <= 0 || !end.ends_with(PdfEnd)) {
    error = "the pages could not be drawn";
    return 0;
  }
  return printed;
}

}  // namespace

std::string PrintHelpText() {
  return std::string(UsageLine) +
         "\n"
         "Draws the diagram sheet or the report of problems of a collection without a\n"
         "screen, as the window program prints them; kestrovale-cli print runs it.\n"
         "\n"
         "  --format pdf|png    one A4 PDF file OUT, or PNG pages OUT-1.png, OUT-2.png ...\n"
         "  --kind diagrams|report\n"
         "                      a sheet of diagrams, or the report of one problem\n"
         "  -n N[,M...]         the problems, counted from 1 (default: all; a report: 1)\n"
         "  --lang fr|en|it|es  the language of the printed words (default en)\n"
         "  --output VALUE      the 16 characters of the \"Output\" setting\n"
         "  --                  the end of the options\n"
         "  -h, --help          this text\n"
         "  --version           the version\n"
         "\n"
         "Exit status: 0 written; 1 a file cannot be read or written; 2 bad arguments.\n";
}

bool ParseProblemNumbers(const std::string& text, std::vector<int>& numbers) {
  std::vector<int> parsed;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find(',', start);
    if (end == std::string::npos) end = text.size();
    int value = 0;
    const char* first = text.data() + start;
    const char* last = text.data() + end;
    const auto [stop, ec] = std::from_chars(first, last, value);
    if (first == last || ec != std::errc() || stop != last || value < 1 ||
        value > MaxProblemNumber || parsed.size() >= static_cast<std::size_t>(MaxSheetProblems)) {
      return false;
    }
    parsed.push_back(value);
    start = end + 1;
  }
  numbers = std::move(parsed);
  return true;
}

bool ParsePrintCommand(const std::vector<std::string>& args, PrintCommand& command,
                       std::string& error) {
  std::vector<std::string> positional;
  bool haveFormat = false, haveKind = false, haveNumbers = false;
  // After "--" every argument is a file name, even one starting with a dash.
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const bool option = !optionsEnded && arg.size() > 1 && arg[0] == '-';
    if (!option) {
      positional.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    if (i + 1 >= args.size()) {
      error = arg + " needs a value";
      return false;
    }
    const std::string& value = args[++i];
    if (arg == "--format") {
      if (value == "pdf") {
        command.format = PrintFormat::Pdf;
      } else if (value == "png") {
        command.format = PrintFormat::Png;
      } else {
        error = "--format must be pdf or png, not '" + value + "'";
        return false;
      }
      haveFormat = true;
    } else if (arg == "--kind") {
      if (value == "diagrams") {
        command.kind = DocumentKind::DiagramSheet;
      } else if (value == "report") {
        command.kind = DocumentKind::Report;
      } else {
        error = "--kind must be diagrams or report, not '" + value + "'";
        return false;
      }
      haveKind = true;
    } else if (arg == "-n") {
      if (!ParseProblemNumbers(value, command.numbers)) {
        error = "-n takes problem numbers from 1 to 32768 separated by commas, not '" + value + "'";
        return false;
      }
      haveNumbers = true;
    } else if (arg == "--lang") {
      if (!ParseLanguage(value, command.language)) {
        error = "--lang must be fr, en, it or es, not '" + value + "'";
        return false;
      }
    } else if (arg == "--output") {
      if (value.size() != OutputCount) {
        error = "--output takes the 16 characters of the \"Output\" setting";
        return false;
      }
      command.settings = DecodeOutput(value);
    } else {
      error = "unknown option '" + arg + "'";
      return false;
    }
  }
  if (!haveFormat || !haveKind) {
    error = "--format and --kind are required";
    return false;
  }
  if (positional.size() != 2) {
    error = "expected FILE.kvl and OUT";
    return false;
  }
  if (command.kind == DocumentKind::Report && haveNumbers && command.numbers.size() != 1) {
    error = "a report prints one problem: -n N";
    return false;
  }
  command.file = positional[0];
  command.output = positional[1];
  return true;
}

int RunPrintCommand(const std::vector<std::string>& args) {
  PrintCommand command;
  std::string error;
  if (!ParsePrintCommand(args, command, error)) return Usage(error);

  PrintDocument document;
  document.kind = command.kind;
  document.settings = command.settings;
  document.language = command.language;
  std::vector<int> records;
  for (const int n : command.numbers) records.push_back(n - 1);
  if (command.kind == DocumentKind::Report && records.empty()) records.push_back(0);
  // An output that cannot be written is refused before anything is drawn;
  // for PNG pages OUT names them (OUT-1.png ...), and a device or a pipe
  // there is as much a mistake as for a PDF.
  if (const std::string refusal = OutputRefusal(command.output); !refusal.empty())
    return RefusedOutput(command.output, refusal);
  if (FileResult loaded = LoadSheetProblems(command.file, records, document.problems); !loaded) {
    return Failure(Cp1252ToUtf8(FileResultText(loaded, command.file, command.language)));
  }
  if (document.problems.empty()) return Failure(command.file + ": the collection holds no problem");
  if (command.kind == DocumentKind::Report) {
    document.paneText =
        ReportText(document.problems[0].problem, document.problems[0].board, command.language);
  }

  OutputFiles output;
  int pages = 0;
  if (command.format == PrintFormat::Pdf) {
    std::string pdf, pdfError;
    pages = PrintPdfInMemory(document, pdf, pdfError);
    if (pages <= 0) return Failure(command.output + ": cannot make the PDF file: " + pdfError);
    if (!output.Add(command.output, pdf)) return Failure(output.error() + "; nothing was written");
  } else {
    // The printer only gives the metrics of an A4 PDF page; it opens no file.
    QPrinter printer(QPrinter::HighResolution);
    MakePdfPrinter(printer, QString::fromStdString(command.output));
    const PrinterMetrics metrics = MetricsOf(printer);
    PreparePrinting(document, ComputePageGeometry(metrics, document.settings, true));
    pages = PageCount(document);
    // Every page name is looked at before the first page is drawn.
    for (int page = 0; page < pages; ++page) {
      const std::string name = PngPageName(command.output, page);
      if (const std::string refusal = OutputRefusal(name); !refusal.empty())
        return RefusedOutput(name, refusal);
    }
    for (int page = 0; page < pages; ++page) {
      QByteArray png;
      QBuffer buffer(&png);
      buffer.open(QIODevice::WriteOnly);
      const std::string name = PngPageName(command.output, page);
      if (!RenderPageImage(document, metrics, page, PngDpi).save(&buffer, "PNG"))
        return Failure(name + ": cannot make the image");
      if (!output.Add(name,
                      std::string_view(png.constData(), static_cast<std::size_t>(png.size()))))
        return Failure(output.error() + "; no page was written");
    }
  }
  if (!output.Commit()) return Failure(output.error());
  std::printf("%d page%s\n", pages, pages == 1 ? "" : "s");
  return PrintExitOk;
}

}  // namespace kv::print
