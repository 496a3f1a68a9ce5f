#pragma once

// Filling web page templates: every tag (an HTML comment whose whole text is a tag name,
// such as <!--outsideTemp-->) is replaced by its value; any other text, other comments
// included, passes unchanged, so a template stays valid HTML.

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/file_system.h"
#include "platform/status.h"
#include "publish/publish_context.h"

namespace publish {

// The longest template line read whole; a longer line is copied without looking for tags.
inline constexpr std::size_t kLongestTemplateLine = 1 << 20;

// Fills one template into its page: lines read whole (up to 1 MiB), written to a
// temporary file and renamed. A page path equal to the template path is refused.
// A failure's message is the line to log: "No se pudo abrir archivo de plantilla para
// lectura: " with the template path, or "No se pudo abrir archivo html para escritura: "
// with the page path (kBadArgument for a page that is its template); no page is written.
platform::Status convertTemplate(const PublishContext& context, platform::FileSystem& files,
                                 const std::string& templatePath, const std::string& pagePath);
// The text of a whole template with its tags filled.
std::string fillTemplateText(const PublishContext& context, std::string_view text);

}  // namespace publish
