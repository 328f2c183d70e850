#pragma once

#include "docsystem/output_mode.h"

#include <string>
#include <string_view>
#include <vector>

// What source collection uploads besides \input files: the files that commands of a document name
// and that lie beside it. This table is the one place that says which commands those are.

// How a command names its files.
enum class ArgumentForm {
    One,         // \addbibresource{refs.bib}
    CommaList,   // \usepackage{a,b}
    OptionList,  // the options in \documentclass[a,b]{scrlttr2}, which a letter class may load as files
};

// Where a named file is looked for.
enum class SearchPlace {
    DocumentDirectory,
    GraphicsPath,  // the document directory, then each \graphicspath entry
};

// How the file name is completed when the name as written is not the file.
enum class Completion {
    AsWritten,         // the name is the file name
    FixedExtension,    // the extension is appended unless the name already ends with it
    GraphicExtensions, // graphicx's extension order for the output, unless a known one is written
};

struct ReferenceKind {
    std::string_view command;  // with its backslash
    ArgumentForm form;
    SearchPlace place;
    Completion completion;
    std::string_view extension;  // for FixedExtension
};

const std::vector<ReferenceKind>& CollectedReferenceKinds();

// The extensions of collected files that are read for the files they name in turn.
const std::vector<std::string>& ExtensionsThatNameFiles();

// Files uploaded whenever they lie in the document's directory, by extension.
const std::vector<std::string>& ExtensionsUploadedFromBesideTheDocument();

// The extensions tried, in order, for a figure named without one: dvips's order for PostScript and
// HTML (the converter runs latex), pdflatex's for PDF; the other kind's formats follow, so that a
// figure the output cannot show is still uploaded and the server can say so.
const std::vector<std::string>& GraphicExtensions(OutputMode mode);

// Whether `name` ends in a figure extension graphicx knows.
bool HasGraphicExtension(const std::string& name);
