// stratalog template fill: one web page template filled with the station's current
// conditions, highs and lows, as an upload would fill it.
#include <CLI/CLI.hpp>
#include <memory>
#include <ostream>
#include <string>

#include "cli/cli.h"
#include "frame/messages.h"
#include "frame/program.h"
#include "frame/program_runner.h"
#include "frame/publish_readings.h"
#include "platform/string_table.h"
#include "publish/publish_context.h"
#include "publish/template_converter.h"

namespace cli {

namespace {

constexpr int kHelpGroup = 66400;
constexpr int kHelpFill = 66401;
constexpr int kHelpTemplate = 66402;
constexpr int kHelpPage = 66403;
constexpr int kMsgPageWritten = 66404;  // "Página escrita: %s"

constexpr std::string_view kCommand = "template fill";
// The extension of a page made from a template when none is asked for.
constexpr std::string_view kPageExtension = "htm";

// The template's path with its extension replaced by the page's.
std::string defaultPagePath(const std::string& templatePath) {
  const std::size_t slash = templatePath.rfind('/');
  const std::size_t dot = templatePath.rfind('.');
  const bool hasExtension =
      dot != std::string::npos && (slash == std::string::npos || dot > slash + 1);
  const std::string stem = hasExtension ? templatePath.substr(0, dot) : templatePath;
  return stem + "." + std::string(kPageExtension);
}

int fillTemplate(CommandContext& ctx, frame::Program& program, const std::string& templatePath,
                 const std::string& pagePath) {
  auto context = frame::readPublishContext(program);
  if (!context) {
    *ctx.err << "stratalog " << kCommand << ": " << context.status().message() << "\n";
    return kExitFailed;
  }
  if (platform::Status s =
          publish::convertTemplate(*context, program.files(), templatePath, pagePath);
      !s) {
    return reportFailure(ctx, std::string(kCommand), s);
  }
  *ctx.out << frame::fillText(platform::stringText(kMsgPageWritten), {pagePath}) << "\n";
  return kExitOk;
}

}  // namespace

void addTemplateCommands(CLI::App& app, CommandContext& ctx) {
  auto* group = app.add_subcommand("template", helpText(kHelpGroup));
  group->require_subcommand(1);
  auto choice = std::make_shared<StationChoice>();
  auto templatePath = std::make_shared<std::string>();
  auto pagePath = std::make_shared<std::string>();
  auto* fill = group->add_subcommand("fill", helpText(kHelpFill));
  addStationOptions(fill, *choice);
  fill->add_option("plantilla", *templatePath, helpText(kHelpTemplate))->required();
  fill->add_option("pagina", *pagePath, helpText(kHelpPage));
  fill->callback([&ctx, choice, templatePath, pagePath] {
    const frame::RunOptions options = runOptions(ctx, choice->programDir);
    if (!resolveStation(ctx, *choice)) return;
    const std::string page = pagePath->empty() ? defaultPagePath(*templatePath) : *pagePath;
    ctx.exitCode = frame::runWithStation(options, choice->station, [&](frame::Program& program) {
      return fillTemplate(ctx, program, *templatePath, page);
    });
  });
}

}  // namespace cli
