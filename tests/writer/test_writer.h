// A writer whose protected operations and store the tests can reach.
#pragma once

#include "writer/writer.h"

struct TestWriter : CWriter {
  using CWriter::Close;
  using CWriter::CreateEventFileName;
  using CWriter::CreateSec1;
  using CWriter::CreateSec3_6;
  using CWriter::CreateSec5;
  using CWriter::OpenRd;
  using CWriter::Set;
  using CWriter::Store;
  using CWriter::StoreSection;
  using CWriter::StoreSectionHeader;
  using CWriter::UnstoreSection;
  using CWriter::UpdateMode;
  using CWriter::WriteSections;
};
