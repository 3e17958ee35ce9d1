#include "Diagnostics.h"

#include <algorithm>

Diagnostics::Diagnostics() : unkept{0, 0, 0} {}

Diagnostics::~Diagnostics() {}

void Diagnostics::add(Severity severity, const std::string& file, Position position, const std::string& text)
{
    if (entries.size() >= MaxKept)
        ++unkept[severity];
    else
        entries.push_back(Entry{file, position, severity, text});
}

void Diagnostics::countUnkept(const Diagnostics& other)
{
    for (int severity = Error; severity <= Note; ++severity)
        unkept[severity] += other.unkept[severity];
}

std::string Diagnostics::format(const Entry& entry)
{
    static const char* const names[] = {"error", "warning", "note"};
    std::string line = entry.file;
    if (entry.position.line > 0) {
        line += ":" + std::to_string(entry.position.line);
        if (entry.position.column > 0)
            line += ":" + std::to_string(entry.position.column);
    }
    return printable(line + ": " + names[entry.severity] + ": " + entry.text);
}

std::string Diagnostics::printable(const std::string& text)
{
    // Names come from strangers' files: an escape code would reach the terminal and act there.
    std::string shown;
    for (char c : text) {
        unsigned char byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte != 0x7f) {
            shown.push_back(c);
            continue;
        }
        char escaped[8];
        snprintf(escaped, sizeof escaped, "\\x%02x", byte);
        shown += escaped;
    }
    return shown;
}

void Diagnostics::print(FILE* out) const
{
    std::vector<std::string> files;
    for (const Entry& entry : entries) {
        if (std::find(files.begin(), files.end(), entry.file) == files.end())
            files.push_back(entry.file);
    }
    // A note stays right after the entry it belongs to.
    std::vector<std::vector<const Entry*> > groups;
    for (const Entry& entry : entries) {
        if (entry.severity == Note && !groups.empty())
            groups.back().push_back(&entry);
        else
            groups.push_back(std::vector<const Entry*>(1, &entry));
    }
    std::stable_sort(groups.begin(), groups.end(),
                     [&files](const std::vector<const Entry*>& a, const std::vector<const Entry*>& b) {
                         size_t fileA = std::find(files.begin(), files.end(), a[0]->file) - files.begin();
                         size_t fileB = std::find(files.begin(), files.end(), b[0]->file) - files.begin();
                         if (fileA != fileB)
                             return fileA < fileB;
                         if (a[0]->position.line != b[0]->position.line)
                             return a[0]->position.line < b[0]->position.line;
                         return a[0]->position.column < b[0]->position.column;
                     });
    for (const std::vector<const Entry*>& group : groups) {
        for (const Entry* entry : group)
            fprintf(out, "%s\n", format(*entry).c_str());
    }
    int more = unkept[Error] + unkept[Warning] + unkept[Note];
    if (more > 0)
        fprintf(out, "%s not shown\n", plural(more, "more diagnostic is", "more diagnostics are").c_str());
}

std::string Diagnostics::quoted(const std::string& text)
{
    return "\"" + text + "\"";
}

std::string Diagnostics::number(int64_t value)
{
    return std::to_string(value);
}

std::string Diagnostics::size(int64_t width, int64_t height)
{
    return number(width) + " x " + number(height);
}

std::string Diagnostics::grouped(int64_t value)
{
    std::string digits = number(value < 0 ? -value : value);
    for (size_t at = digits.size(); at > 3; at -= 3)
        digits.insert(at - 3, ",");
    return (value < 0 ? "-" : "") + digits;
}

std::string Diagnostics::decimal(double value)
{
    char text[32];
    snprintf(text, sizeof text, "%g", value);
    return text;
}

std::string Diagnostics::plural(int64_t count, const std::string& one, const std::string& many)
{
    return number(count) + " " + (count == 1 ? one : many);
}

bool Diagnostics::isInteger(const std::string& word)
{
    size_t i = !word.empty() && (word[0] == '-' || word[0] == '+') ? 1 : 0;
    if (i >= word.size())
        return false;
    for (; i < word.size(); ++i) {
        if (word[i] < '0' || word[i] > '9')
            return false;
    }
    return true;
}

int Diagnostics::count(Severity severity) const
{
    int found = unkept[severity];
    for (const Entry& entry : entries)
        found += entry.severity == severity;
    return found;
}
