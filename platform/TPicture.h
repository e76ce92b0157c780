// The picture a picture box shows. It picks the picture class by the file's extension and replaces
// its picture only once the new one has loaded.
#pragma once

#include "TGraphic.h"
#include "TObject.h"

#include <memory>
#include <string>

class TPicture : public TObject {
public:
    // Throws EInvalidGraphic, EFOpenError or EJPEG; the old picture then stays.
    void LoadFromFile(const std::string& path);
    // The same for a picture stored in the program itself, such as a window's initial pictures.
    void LoadFromResource(const std::string& name);

    TGraphic* Graphic() const { return graphic.get(); }
    // The path or resource name the picture was loaded from.
    const std::string& Source() const { return source; }

    // Runs after the picture has been replaced.
    std::function<void()> OnChange;

    using TGraphicFactory = std::unique_ptr<TGraphic> (*)();
    static void RegisterFileFormat(const std::string& extension, TGraphicFactory factory);

    // The text after the last ".", when no "\" or ":" follows it; empty otherwise.
    static std::string FileExtension(const std::string& path);

private:
    static std::unique_ptr<TGraphic> NewGraphicFor(const std::string& path);
    void Assign(std::unique_ptr<TGraphic> loaded, const std::string& from);

    std::unique_ptr<TGraphic> graphic;
    std::string source;
};
