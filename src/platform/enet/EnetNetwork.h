#pragma once
// The network over ENet: one reliable, sequenced channel to a single partner.

#include <memory>

#include "platform/Network.h"

namespace vorlanex {

std::unique_ptr<Network> MakeEnetNetwork();

}  // namespace vorlanex
