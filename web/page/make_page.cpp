// Writes the page's markup, style sheet and manifest into the page's folder,
// and the text it draws into a file of its own (for cutting its font down),
// at build time.
//   make_page PAGE-DIR DRAWN-TEXT-FILE
#include "page.h"

#include <cstdio>
#include <fstream>
#include <string>

namespace {

bool write(const std::string &path, const std::string &content)
{
    std::ofstream file(path, std::ios::binary);
    file << content;
    file.close();
    if (!file) {
        std::fprintf(stderr, "make_page: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_page PAGE-DIR DRAWN-TEXT-FILE\n");
        return 2;
    }
    const std::string dir = std::string(argv[1]) + "/";
    const bool written = write(dir + "index.html", page::markup()) &&
                         write(dir + std::string(page::StyleFile), page::style()) &&
                         write(dir + std::string(page::ManifestFile), page::manifest()) &&
                         write(argv[2], page::drawnText());
    return written ? 0 : 1;
}
