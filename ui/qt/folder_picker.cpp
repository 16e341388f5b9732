#include "ui/qt/folder_picker.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

#include "ui/qt/pictures_folder.h"
#include "ui/qt/window_placement.h"

namespace {

// The nearest folder that exists at or above `path`, so a remembered folder
// that has gone still opens the tree nearby.
QString NearestFolder(QString path) {
  path = QDir::cleanPath(path);
  while (!QFileInfo(path).isDir() && path != QLatin1String("/")) {
    const QString parent = QFileInfo(path).path();
    if (parent == path) {
      break;
    }
    path = parent;
  }
  return path;
}

class FolderPicker : public QDialog {
 public:
  FolderPicker(QWidget* owner, const QString& title) : QDialog(owner) {
    setWindowTitle(QStringLiteral("Bläddra efter mapp"));
    setObjectName(QStringLiteral("FolderPicker"));
    auto* heading = new QLabel(title, this);
    heading->setWordWrap(true);
    heading->setObjectName(QStringLiteral("title"));

    model_.setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    model_.setReadOnly(true);
    model_.setRootPath(QStringLiteral("/"));
    tree_ = new QTreeView(this);
    tree_->setObjectName(QStringLiteral("folders"));
    tree_->setModel(&model_);
    tree_->setHeaderHidden(true);
    for (int column = 1; column < model_.columnCount(); ++column) {
      tree_->hideColumn(column);
    }

    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("status"));
    // A long path must not widen the dialog.
    status_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);

    auto* buttons = new QDialogButtonBox(this);
    ok_ = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok_->setObjectName(QStringLiteral("okButton"));
    ok_->setDefault(true);
    ok_->setEnabled(false);
    buttons->addButton(QStringLiteral("Avbryt"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(tree_, 1);
    layout->addWidget(status_);
    layout->addWidget(buttons);
    resize(360, 420);

    connect(tree_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { ShowSelected(current); });
    // The tree fills in while folders are read, which pushes the start folder
    // out of view: keep it in view until the user has had time to move.
    const auto keep = [this] { KeepStartInView(); };
    connect(&model_, &QFileSystemModel::directoryLoaded, this, keep, Qt::QueuedConnection);
    connect(&model_, &QFileSystemModel::rowsInserted, this, keep, Qt::QueuedConnection);
    connect(&model_, &QFileSystemModel::layoutChanged, this, keep, Qt::QueuedConnection);
  }

  // The tree goes first: it must not watch the model while the model goes.
  ~FolderPicker() override { delete tree_; }

  void Select(const QString& folder) {
    opened_.start();
    start_ = QPersistentModelIndex(model_.index(NearestFolder(folder)));
    tree_->setCurrentIndex(start_);
    tree_->expand(start_);
    tree_->scrollTo(start_, QAbstractItemView::PositionAtCenter);
  }

  QString Chosen() const { return model_.filePath(tree_->currentIndex()); }

 private:
  void KeepStartInView() {
    constexpr qint64 kFollowMs = 2000;
    if (start_.isValid() && tree_->currentIndex() == start_ && opened_.elapsed() < kFollowMs) {
      tree_->scrollTo(start_, QAbstractItemView::PositionAtCenter);
    }
  }

  void ShowSelected(const QModelIndex& current) {
    const bool folder = current.isValid() && model_.isDir(current);
    ok_->setEnabled(folder);
    if (folder) {
      status_->setText(model_.filePath(current));
      status_->setToolTip(status_->text());
    }
  }

  QFileSystemModel model_;
  QTreeView* tree_ = nullptr;
  QLabel* status_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPersistentModelIndex start_;
  QElapsedTimer opened_;
};

}  // namespace

std::string BrowseForFolder(QWidget* owner, const std::string& startFolder,
                            const std::string& title) {
  FolderPicker picker(owner, QString::fromStdString(title));
  picker.Select(startFolder.empty() ? DefaultPicturesFolder()
                                    : QString::fromStdString(startFolder));
  CenterWindow(picker);
  if (picker.exec() != QDialog::Accepted) {
    return {};
  }
  return QDir::cleanPath(picker.Chosen()).toStdString();
}
