#include "core/output_clash.h"

#include <unordered_map>

#include "core/paths.h"
#include "platform/folder_listing.h"
#include "text/cp1251.h"

namespace pagefold {
namespace {

// True when some output lies in the source folder, where a ticked file
// could be it; the ticked files are then looked at one by one.
bool AnyInside(const std::vector<std::string>& outputs, const std::string& sourceFolder) {
  const std::string folder = platform::ComparablePath(JoinPath(sourceFolder, ""));
  for (const std::string& output : outputs)
    if (output.rfind(folder, 0) == 0) return true;
  return false;
}

// For each output, whether a ticked file is it.
std::vector<bool> Ticked(const std::vector<std::string>& outputs, const std::string& sourceFolder,
                         const std::vector<std::string>& ticked, bool followLinks) {
  std::vector<bool> found(outputs.size());
  if (!followLinks && !AnyInside(outputs, sourceFolder)) return found;
  std::unordered_map<std::string, size_t> output;
  for (size_t i = outputs.size(); i-- > 0;) output[outputs[i]] = i;
  for (const std::string& item : ticked) {
    const auto hit = output.find(platform::ComparablePath(JoinPath(sourceFolder, item)));
    if (hit != output.end()) found[hit->second] = true;
  }
  return found;
}

}  // namespace

std::string OutputClash(const std::vector<BuildOutput>& outputs, const std::string& sourceFolder,
                        const std::vector<std::string>& ticked, bool followLinks) {
  std::vector<std::string> paths;
  for (const BuildOutput& output : outputs) paths.push_back(platform::ComparablePath(output.path));
  for (size_t i = 0; i < outputs.size(); ++i)
    for (size_t j = 0; j < i; ++j)
      if (paths[i] == paths[j])
        return outputs[i].what + " \"" + outputs[i].path + text::Cp1251Text("\" - это тот же файл, что и \"") + outputs[j].path + text::Cp1251Text("\", укажите другой файл!");
  const std::vector<bool> found = Ticked(paths, sourceFolder, ticked, followLinks);
  for (size_t i = 0; i < outputs.size(); ++i)
    if (found[i])
      return outputs[i].what + " \"" + outputs[i].path +
             text::Cp1251Text("\" входит в собираемые файлы, укажите другой файл!");
  return "";
}

}  // namespace pagefold
