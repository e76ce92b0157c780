#include "Exception.h"

EFOpenError::EFOpenError(const std::string& path)
    : Exception("Datei " + path +
                " kann nicht ge\xC3\xB6"
                "ffnet werden") {}

EJPEG::EJPEG(int messageCode)
    : Exception("JPEG-Fehler #" + std::to_string(messageCode)), code(messageCode) {}

EInvalidGraphic::EInvalidGraphic(const std::string& extension)
    : Exception("Unbekannte Bilddateierweiterung (." + extension + ")") {}
