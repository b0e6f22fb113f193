#include "ui/Host.h"

namespace ui {

namespace {
Host *installed = nullptr;
}

Host *Host::current() {
    return installed;
}

void Host::setCurrent(Host *host) {
    installed = host;
}

} // namespace ui
