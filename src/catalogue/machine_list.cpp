#include "catalogue/machine_list.h"

#include "catalogue/field_reader.h"
#include "catalogue/model_name.h"
#include "platform/gbk_text.h"

#include <cerrno>

namespace kelvaro {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

std::string listPath(const std::string& directory) {
    return catalogueFile(directory, kMachineListFile);
}

} // namespace

MachineList readMachineList(const std::string& directory, FileSystem& fs) {
    MachineList list;
    const std::string path = listPath(directory);
    const FileBytes file = readWholeFile(fs, path);
    if (file.error == ENOENT) {
        list.status = CatalogueStatus::Missing;
        return list;
    }
    if (file.error != 0) {
        list.status = CatalogueStatus::Failed;
        list.message = readFailure(path, file.error);
        return list;
    }
    for (std::string_view field : readFields(file.bytes))
        list.names.push_back(fromGbk(field));
    return list;
}

CatalogueResult appendMachineName(const std::string& directory, std::string_view name,
                                  FileSystem& fs) {
    const CatalogueLock lock = fs.lockCatalogue(directory);
    if (!lock.held()) return catalogueFailure(lock.message());
    return appendMachineName(lock, name);
}

CatalogueResult appendMachineName(const CatalogueLock& held, std::string_view name) {
    FileSystem& fs = held.fileSystem();
    const std::string path = listPath(held.folder());
    const std::optional<std::string> entry = toGbk(trimBlanks(name));
    if (!entry) return catalogueFailure(writeFailure(path, EILSEQ));

    FileBytes file = readWholeFile(fs, path);
    if (file.error != 0 && file.error != ENOENT)
        return catalogueFailure(readFailure(path, file.error));

    // A last entry without its line end gets one; after a last comma the
    // name already starts a field of its own, and a line end there would
    // add an empty entry before it.
    std::string& bytes = file.bytes;
    if (!bytes.empty() && bytes.back() != '\n' && bytes.back() != '\r' && bytes.back() != ',')
        bytes += kLineEnd;
    bytes += *entry;
    bytes += kLineEnd;
    std::string failure = writeWholeFile(held, path, bytes);
    if (!failure.empty()) return catalogueFailure(std::move(failure));
    return {};
}

CatalogueResult removeMachineName(const std::string& directory, std::string_view name,
                                  FileSystem& fs) {
    const CatalogueLock lock = fs.lockCatalogue(directory);
    if (!lock.held()) return catalogueFailure(lock.message());
    const std::string path = listPath(directory);
    const FileBytes file = readWholeFile(fs, path);
    if (file.error == ENOENT) return {CatalogueStatus::Missing, {}};
    if (file.error != 0) return catalogueFailure(readFailure(path, file.error));

    // Compared as the user saw the entry, so an entry whose bytes are not GBK
    // can still be removed.
    std::string kept;
    kept.reserve(file.bytes.size());
    for (std::string_view field : readFields(file.bytes)) {
        if (fromGbk(field) == name) continue;
        kept += field;
        kept += kLineEnd;
    }
    std::string failure = writeWholeFile(lock, path, kept);
    if (!failure.empty()) return catalogueFailure(std::move(failure));
    return {};
}

std::string deleteMachineQuestion(std::string_view model) {
    return "确定删除机床 " + std::string(model) + " 吗？";
}

std::string machineDeletedMessage(std::string_view model) {
    return "机床 " + std::string(model) + " 已从机床列表中删除；它的机床文件 " +
           machineFileName(model) + " 仍留在磁盘上。";
}

} // namespace kelvaro
