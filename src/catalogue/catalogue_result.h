#pragma once

#include <string>

namespace kelvaro {

enum class CatalogueStatus {
    Ok,
    Missing, // the file does not exist (yet)
    Failed,  // see the message
    Changed, // changed by another program since it was read; nothing written
};

// How a catalogue operation went; a failure carries the message for the
// user, which names the file and what is wrong with it.
struct CatalogueResult {
    CatalogueStatus status = CatalogueStatus::Ok;
    std::string message;

    bool failed() const {
        return status == CatalogueStatus::Failed || status == CatalogueStatus::Changed;
    }
};

inline CatalogueResult catalogueFailure(std::string message) {
    return {CatalogueStatus::Failed, std::move(message)};
}

} // namespace kelvaro
