#include "FormBuilder.h"

#include "MainFormDefinition.h"
#include "TForm1.h"

namespace {

TNotifyEvent Bind(TForm1& form, TForm1Handler handler) {
    if (!handler)
        return {};
    return [&form, handler](TObject* sender) { (form.*handler)(sender); };
}

// Control-specific stored properties, chosen by the kind of the receiving field.
void Apply(TForm1&, TImage& image, const TControlDefinition& row,
           const TFormDefinition& definition) {
    image.Describe = definition.DescribePicture;
    image.SetStretch(row.Stretch);
    if (row.Picture)
        image.Picture->LoadFromResource(row.Picture);
}

void Apply(TForm1&, TLabel& label, const TControlDefinition& row, const TFormDefinition&) {
    label.SetCaption(row.Caption);
}

void Apply(TForm1& form, TButton& button, const TControlDefinition& row, const TFormDefinition&) {
    button.SetCaption(row.Caption);
    button.OnClick = Bind(form, row.Handler);
}

void Apply(TForm1& form, TScrollBar& bar, const TControlDefinition& row, const TFormDefinition&) {
    const TScrollBarSettings& s = *row.Scrolling;
    bar.SetKind(s.Vertical ? TScrollBarKind::Vertical : TScrollBarKind::Horizontal);
    bar.SetRange(s.Min, s.Max);
    bar.SetSmallChange(s.SmallChange);
    bar.SetLargeChange(s.LargeChange);
    bar.SetPageSize(s.PageSize);
    bar.SetPosition(s.Position);
    // Bound last: storing the position is not a change the program reacts to.
    bar.OnChange = Bind(form, row.Handler);
}

} // namespace

void BuildForm(TForm1& form, const TFormDefinition& definition) {
    form.SetCaption(definition.Caption);
    form.SetBounds(definition.Left, definition.Top, definition.Width, definition.Height);
    form.SetFont(definition.Font);
    for (const TControlDefinition& row : definition.Controls) {
        std::visit(
            [&](auto field) {
                using Control =
                    std::remove_pointer_t<std::remove_reference_t<decltype(form.*field)>>;
                Control* control = form.AddControl<Control>();
                form.*field = control;
                control->Name = row.Name;
                control->SetBounds(row.Left, row.Top, row.Width, row.Height);
                if (row.BigFont)
                    control->SetFont(definition.BigFont);
                control->SetTabOrder(row.TabOrder);
                if (row.AccessibleName)
                    control->SetAccessibleName(row.AccessibleName);
                Apply(form, *control, row, definition);
            },
            row.Field);
    }
    form.OnCreate = Bind(form, definition.OnCreate);
    form.Loaded();
}
