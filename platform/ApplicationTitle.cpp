#include "ApplicationTitle.h"

#include <algorithm>

std::string ApplicationTitle(const std::string& executablePath) {
    const auto slash = executablePath.find_last_of("/\\");
    std::string name =
        slash == std::string::npos ? executablePath : executablePath.substr(slash + 1);
    name = name.substr(0, name.find('.'));
    std::transform(name.begin() + std::min<std::size_t>(1, name.size()), name.end(),
                   name.begin() + std::min<std::size_t>(1, name.size()), [](unsigned char c) {
                       return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : char(c);
                   });
    return name;
}
