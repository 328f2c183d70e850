#include "docsystem/source_preparation.h"

#include "docsystem/conditional_sections.h"
#include "docsystem/document_settings_reader.h"
#include "docsystem/entity_replacement.h"
#include "docsystem/source_collection.h"
#include "docsystem/source_encoding.h"
#include "docsystem/translation_table.h"

#include <stdexcept>

namespace {

// The main file is uploaded as the lower-cased base name + ".tex", whatever its own name.
void NameMainSource(SourceSet& sources, const std::string& collectedName, const std::string& uploadName)
{
    if (collectedName == uploadName)
        return;
    if (sources.count(uploadName) != 0)
        throw std::runtime_error("Two source files would be uploaded as \"" + uploadName
                                 + "\"; rename the included file of that name.");
    auto entry = sources.extract(collectedName);
    entry.key() = uploadName;
    sources.insert(std::move(entry));
}

}  // namespace

void PrepareSources(DocumentationJob& job, const JobNames& names)
{
    const std::string collected = CollectSources(names.documentDirectory, job.documentPath, job.mode, &job.extraFiles, job.sources, *job.callback);
    NameMainSource(job.sources, collected, names.baseName + ".tex");
    // Each file is read in its own encoding: a UTF-8 chapter may sit beside a legacy one.
    for (auto& [name, source] : job.sources) {
        const TextEncoding encoding = DetectedEncoding(source.text);
        ApplyConditionalSections(source.text, source.lines, job.mode);
        ReplaceEntities(source.text, source.lines, encoding, *job.callback);
        ReadDocumentSettings(source.text, job);
        if (job.mode != OutputMode::Html)
            ApplyTranslationTable(source.text, encoding, job);
    }
}

