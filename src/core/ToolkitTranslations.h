#pragma once

// The toolkit's own texts (the buttons and labels of its colour and file dialogs) in the program's
// language: its Czech catalogue for language 1, none (its English) for every other language.
namespace ToolkitTranslations {

// Installs the catalogue of the language in place of the one installed before; false when the
// language has a catalogue that could not be loaded (the toolkit then speaks English).
bool Apply(int language);

}  // namespace ToolkitTranslations
