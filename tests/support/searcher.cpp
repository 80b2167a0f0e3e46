#include "support/searcher.h"

#include <memory>

#include "game/settings.h"

namespace zarvi::test {

buscador& sharedSearcher() {
    static std::unique_ptr<buscador> searcher = [] {
        const int saved = settings.hashSizeFactor;
        settings.hashSizeFactor = minHashSizeFactor;
        auto created = std::make_unique<buscador>();
        settings.hashSizeFactor = saved;
        return created;
    }();
    return *searcher;
}

}  // namespace zarvi::test
