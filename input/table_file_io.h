#pragma once
// File access for shapelib's dBase code without a system call per record: a table
// opened for reading only is read through a memory map; one opened for update reads
// at offsets (with read-ahead for tables read in order); writes are gathered while
// they follow each other.

#include <shapefil.h>

#include <cstddef>

namespace tessaly {

// Hooks for DBFOpenLL and DBFCreateLL. readAhead: bytes read beyond each request
// (0 for tables read in any order; a mapped table read in order is read ahead by
// the system). Errors go to error.
SAHooks TableFileHooks(std::size_t readAhead, void (*error)(const char*));

}  // namespace tessaly
