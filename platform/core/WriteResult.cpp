#include "WriteResult.h"

#include <system_error>

std::string WriteResult::reason() const {
    switch (outcome_) {
    case Outcome::Changed:
        return "it was changed since it was read";
    case Outcome::Failed:
        return std::generic_category().message(error_);
    case Outcome::Written:
        break;
    }
    return {};
}
