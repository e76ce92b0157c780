// A picture box. With Stretch on it draws its picture scaled to fill the whole box, without keeping
// the aspect ratio. A new picture only marks the box for repainting.
#pragma once

#include "TControl.h"
#include "TPicture.h"

#include <memory>

class TImage : public TControl {
public:
    explicit TImage(QWidget* parent);
    ~TImage() override;

    bool Stretch() const { return stretch; }
    void SetStretch(bool on);

    // Puts a picture's source into words for screen readers; the box's accessible name follows
    // every picture change.
    std::function<std::string(const std::string& source)> Describe;

private:
    std::unique_ptr<TPicture> picture;
    bool stretch = false;

public:
    TPicture* const Picture;
};
