#pragma once

class TForm1;
struct TFormDefinition;

// Creates the form's controls from its definition, applies their stored properties, loads the
// initial pictures and binds the handlers.
void BuildForm(TForm1& form, const TFormDefinition& definition);
