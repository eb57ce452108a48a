#pragma once
// File access for shapelib's dBase code without a system call per record: reads
// at offsets (with read-ahead for tables read in order) and writes gathered while
// they follow each other.

#include <shapefil.h>

#include <cstddef>

namespace tessaly {

// Hooks for DBFOpenLL and DBFCreateLL. readAhead: bytes read beyond each request
// (0 for tables read in any order). Errors go to error.
SAHooks TableFileHooks(std::size_t readAhead, void (*error)(const char*));

}  // namespace tessaly
