// The fixture of the record tests: a scratch folder per test that also plays
// the application-data folder, faults cleared around each test, and message
// boxes recorded and answered OK; raw file bytes from the shared test support.
#ifndef QUILLMATE_TESTS_RECORDS_RECORDSTESTSUPPORT_H
#define QUILLMATE_TESTS_RECORDS_RECORDSTESTSUPPORT_H

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "Database/gxFaultInjection.h"
#include "Records/DataFolders.h"
#include "Support/FileBytes.h"
#include "Support/RecordedMessageBoxes.h"
#include "Support/ScratchFolder.h"

namespace qmrecords {

using qmtest::Bytes;
using qmtest::ReadFileBytes;
using qmtest::ReadFileText;
using qmtest::WordAt;
using qmtest::WriteFileBytes;

class RecordsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gxClearFaults();
    appData_ = std::make_unique<ScopedApplicationDataFolder>(folder_.Path().string());
  }

  void TearDown() override {
    gxClearFaults();
    appData_.reset();
  }

  std::string PathOf(const std::string& name) const { return folder_.PathOf(name); }

  qmtest::ScratchFolder folder_{"qm-rec"};
  qmtest::RecordedMessageBoxes boxes_;

 private:
  std::unique_ptr<ScopedApplicationDataFolder> appData_;
};

}  // namespace qmrecords

#endif  // QUILLMATE_TESTS_RECORDS_RECORDSTESTSUPPORT_H
