#include "TPicture.h"

#include "Exception.h"
#include "TJPEGImage.h"

#include <QFile>

#include <map>

namespace {

std::string LowerAscii(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    return text;
}

// Keyed by lower-case extension. The JPEG class is there before any window can be created.
std::map<std::string, TPicture::TGraphicFactory>& Registry() {
    static std::map<std::string, TPicture::TGraphicFactory> registry = [] {
        std::map<std::string, TPicture::TGraphicFactory> initial;
        const TPicture::TGraphicFactory jpeg = [] {
            return std::unique_ptr<TGraphic>(std::make_unique<TJPEGImage>());
        };
        initial["jpeg"] = jpeg;
        initial["jpg"] = jpeg;
        return initial;
    }();
    return registry;
}

} // namespace

void TPicture::RegisterFileFormat(const std::string& extension, TGraphicFactory factory) {
    Registry()[LowerAscii(extension)] = factory;
}

std::string TPicture::FileExtension(const std::string& path) {
    const auto last = path.find_last_of(".\\:");
    if (last == std::string::npos || path[last] != '.')
        return {};
    return path.substr(last + 1);
}

std::unique_ptr<TGraphic> TPicture::NewGraphicFor(const std::string& path) {
    const std::string extension = FileExtension(path);
    const auto found = Registry().find(LowerAscii(extension));
    if (found == Registry().end())
        throw EInvalidGraphic(extension);
    return found->second();
}

void TPicture::LoadFromFile(const std::string& path) {
    auto loaded = NewGraphicFor(path);
    loaded->LoadFromFile(path);
    Assign(std::move(loaded), path);
}

void TPicture::LoadFromResource(const std::string& name) {
    auto loaded = NewGraphicFor(name);
    QFile resource(QString::fromStdString(name));
    if (!resource.open(QIODevice::ReadOnly))
        throw EFOpenError(name);
    const QByteArray data = resource.readAll();
    loaded->LoadFromBytes(std::vector<unsigned char>(data.begin(), data.end()));
    Assign(std::move(loaded), name);
}

void TPicture::Assign(std::unique_ptr<TGraphic> loaded, const std::string& from) {
    graphic = std::move(loaded);
    source = from;
    if (OnChange)
        OnChange();
}
