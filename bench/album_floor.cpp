// The floor for korvalo-batch: the same file work and nothing else. For every
// folder below FOLDER: list it, read each picture's header bytes, write a page
// per picture and a cell per picture into the folder's index page. With
// --rename each page and index page is written beside itself and renamed over
// it, the least a program does that replaces a file whole.
//
// usage: album_floor [--rename] FOLDER

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

bool replaceWhole = false;

bool IsPicture(const std::string& name) {
  const std::size_t dot = name.rfind('.');
  return dot != std::string::npos && (strcasecmp(name.c_str() + dot, ".jpg") == 0 ||
                                      strcasecmp(name.c_str() + dot, ".gif") == 0);
}

void ReadHeader(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY);
  if (fd >= 0) {
    unsigned char header[32];
    [[maybe_unused]] const ssize_t got = read(fd, header, sizeof header);
    close(fd);
  }
}

void WritePage(const std::string& path, const std::string& name) {
  const std::string page = "<html><head><title>" + name + "</title></head><body><img src=\"" +
                           name + ".jpg\" width=\"640\" height=\"480\"><br>" + name +
                           "<br><a href=\"index.html\">index</a></body></html>\r\n";
  const std::string written = replaceWhole ? path + ".new" : path;
  std::FILE* file = std::fopen(written.c_str(), "wb");
  if (file != nullptr) {
    std::fwrite(page.data(), page.size(), 1, file);
    std::fclose(file);
  }
  if (replaceWhole) {
    std::rename(written.c_str(), path.c_str());
  }
}

void Walk(const std::string& folder) {
  std::vector<std::pair<std::string, bool>> entries;
  if (DIR* dir = opendir(folder.c_str())) {
    while (const dirent* entry = readdir(dir)) {
      if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0) {
        entries.emplace_back(entry->d_name, entry->d_type == DT_DIR);
      }
    }
    closedir(dir);
  }
  const std::string indexPath = folder + "/index.html";
  const std::string indexWritten = replaceWhole ? indexPath + ".new" : indexPath;
  std::FILE* index = std::fopen(indexWritten.c_str(), "wb");
  if (index == nullptr) {
    return;
  }
  std::fputs("<html><body><table>\r\n<tr>\r\n", index);
  for (const auto& [name, isFolder] : entries) {
    const std::string path = folder + "/" + name;
    if (isFolder) {
      Walk(path);
    } else if (IsPicture(name) && name != "index.jpg" && name != "__goback.gif") {
      const std::string base = name.substr(0, name.rfind('.'));
      ReadHeader(path);
      WritePage(folder + "/" + base + ".html", base);
    } else {
      continue;
    }
    std::fprintf(
        index,
        "<td><a href=\"%s.html\"><img src=\"%s\" width=\"120\" height=\"90 \"></a><br>%s</td>\r\n",
        name.c_str(), name.c_str(), name.c_str());
  }
  std::fputs("</tr>\r\n</table></body></html>\r\n", index);
  std::fclose(index);
  if (replaceWhole) {
    std::rename(indexWritten.c_str(), indexPath.c_str());
  }
}

}  // namespace

int main(int argc, char** argv) {
  replaceWhole = argc == 3 && std::strcmp(argv[1], "--rename") == 0;
  if (argc != 2 && !replaceWhole) {
    std::fputs("usage: album_floor [--rename] FOLDER\n", stderr);
    return 2;
  }
  Walk(argv[argc - 1]);
  return 0;
}
