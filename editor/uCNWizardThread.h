#pragma once
// The template rename wizard's worker: it walks a folder of template files
// and rewrites, in each file whose name matches a mask, the old names of
// moved variables into their new names. The text rules it uses are here too,
// so that they can be checked without a thread.

#include "uCNWizard.h"

#include <QThread>

#include <string>
#include <vector>

namespace lx::editor {

/// The masks of the masks field: it gets a closing ";" when it lacks one
/// (the field itself is changed), then is cut at every ";" into its
/// non-empty pieces. No piece gives "*"; a piece without "*" gets "." put in
/// front unless it has one, then "*": php gives *.php, a.txt gives *a.txt.
std::vector<std::string> ParseMasks(std::string& field);

/// The name a pair uses in the templates: unless keepPrefix, a name longer
/// than five characters that begins with "LANG_" loses those five.
std::string TemplateName(const std::string& name, bool keepPrefix);

/// Rewrites every occurrence of an old name in one left-to-right pass: at
/// each position the pairs are tried in list order, the first old name found
/// there is replaced, and the scan goes on after it, so inserted text is
/// never looked at again and each occurrence is replaced once. Matching is
/// case-sensitive and finds names inside longer words too.
std::string ApplyPairs(const std::string& text, const TVarNames& pairs, bool keepPrefix);

/// The files the walk visits, in order: in each folder the matching files in
/// mask order (each file once), then each sub-folder in the order listed.
/// Links to folders are not followed, so a loop of links ends the walk.
std::vector<std::string> ListTemplateFiles(const std::string& folder,
                                           const std::vector<std::string>& masks);

/// Applies the pairs to one file and writes it back (atomically) when it
/// changed; returns whether it did. Throws platform::EFileError when the file cannot be read, is
/// read-only (no write permission bit: the mark binds every user, as the
/// read-only attribute of a Windows file does) or cannot be written.
bool RewriteTemplateFile(const std::string& path, const TVarNames& pairs, bool keepPrefix);

class TCNWizardThread : public QThread {
    Q_OBJECT
public:
    TCNWizardThread(TVarNames pairs, std::string folder, std::vector<std::string> masks,
                    bool keepPrefix);

    TVarNames Pairs;
    std::string ScanFolder;
    std::vector<std::string> Masks;
    bool KeepPrefix = false;
    int Total = 0;
    int Done = 0;

signals:
    /// After each file, with the count done and the count of files in all.
    void Progress(int done, int total);
    /// The last signal of a scan: the file that stopped it, empty when the
    /// scan went through.
    void ScanEnded(const QString& stoppedAt);

protected:
    void run() override;
};

} // namespace lx::editor
