#include "tools/hopvane_ctl/held_name.h"

namespace hopvane_ctl {

HeldName::HeldName(platform::NamedMutexes& mutexes, std::string_view name)
    : mutexes_(mutexes), created_(mutexes.Create(name))
{
}

HeldName::~HeldName()
{
    if (IsHeld())
        mutexes_.Close(created_.handle);
}

} // namespace hopvane_ctl
