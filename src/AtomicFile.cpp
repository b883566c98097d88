// Whole-or-nothing writes of one file or of files that belong together.
#include "AtomicFile.h"

bool writeFileAtomically(const std::string& path, const std::string& content, std::string* error)
{
    return writeFilesAtomically({{path, content}}, error);
}

bool writeFilesAtomically(const std::vector<FileContent>& files, std::string* error, FileWriter& writer)
{
    std::vector<std::string> temporaries;  // "" once renamed
    std::vector<std::string> oldCopies;    // "" where there was no file, or once put back
    const auto removeLeftovers = [&] {
        for (const std::vector<std::string>* names : {&temporaries, &oldCopies})
            for (const std::string& name : *names)
                if (!name.empty())
                    writer.remove(name);
    };
    const auto failWith = [&](const std::string& reason) {
        removeLeftovers();
        if (error)
            *error = reason;
        return false;
    };
    std::string reason;
    for (const FileContent& file : files)
    {
        std::string temporary;
        if (!writer.writeTemporary(file.path, file.content, temporary, reason))
            return failWith(reason);
        temporaries.push_back(temporary);
    }
    // One rename is a single step; with more, the old files are kept under second names, so
    // that a failed rename can put back the ones renamed before it.
    if (files.size() > 1)
        for (const FileContent& file : files)
        {
            std::string copy;
            if (!writer.keepCopy(file.path, copy, reason))
                return failWith(reason);
            oldCopies.push_back(copy);
        }
    for (std::size_t i = 0; i < files.size(); ++i)
    {
        if (writer.replace(temporaries[i], files[i].path, reason))
        {
            temporaries[i].clear();
            continue;
        }
        for (std::size_t j = 0; j < i; ++j)
        {
            std::string why;
            if (oldCopies[j].empty())
                writer.remove(files[j].path);  // there was none before
            else if (writer.replace(oldCopies[j], files[j].path, why))
                oldCopies[j].clear();
            else
            {
                reason += "; the old '" + files[j].path + "' could not be put back (" + why + ") and is kept as '" +
                          oldCopies[j] + "'";
                oldCopies[j].clear();
            }
        }
        return failWith(reason);
    }
    removeLeftovers();
    return true;
}
