#include "tools/sndrec32/atomic_file.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

std::vector<std::uint8_t> Bytes(const std::string& text) {
  return {text.begin(), text.end()};
}

QByteArray Read(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

TEST(SaveFileAtomically, ReplacesTheFileAndLeavesNothingElse) {
  QTemporaryDir dir;
  const QString path = dir.filePath("comment.wav");
  QFile old(path);
  ASSERT_TRUE(old.open(QIODevice::WriteOnly));
  old.write("a much longer old recording");
  old.close();
  old.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);

  EXPECT_EQ(SaveFileAtomically(path.toStdString(), Bytes("new")), "");
  EXPECT_EQ(Read(path), "new");
  EXPECT_EQ(QFile(path).permissions() & 0x7777, QFile::ReadOwner | QFile::WriteOwner |
                                                    QFile::ReadGroup | QFile::ReadUser |
                                                    QFile::WriteUser);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"comment.wav"});
}

TEST(SaveFileAtomically, FailureNamesTheReasonAndTouchesNothing) {
  QTemporaryDir dir;
  const std::string missingFolder = dir.filePath("gone/comment.wav").toStdString();
  EXPECT_NE(SaveFileAtomically(missingFolder, Bytes("x")), "");
  EXPECT_FALSE(QFile::exists(dir.filePath("gone")));

  // A folder where the file should be stays a folder.
  ASSERT_TRUE(QDir(dir.path()).mkdir("comment.wav"));
  EXPECT_NE(SaveFileAtomically(dir.filePath("comment.wav").toStdString(), Bytes("x")), "");
  EXPECT_TRUE(QFileInfo(dir.filePath("comment.wav")).isDir());
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
            QStringList{"comment.wav"});
}

}  // namespace
