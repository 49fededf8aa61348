// One lock for the toolkit's work in ordevo-node. DCMTK's value checks share state between
// threads: a report read by the worker while the receiver negotiated an association was refused
// as an invalid value. The receiver holds the lock while it negotiates and takes an object in;
// the worker while it reads a spooled file, never while it evaluates.
#pragma once

#include <mutex>

namespace ordevo::node {

std::mutex& DicomLock();

}  // namespace ordevo::node
