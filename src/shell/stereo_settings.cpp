// The stereo settings: remembered between runs, edited in a box from the window menu, and
// named in the lower display when they are not the defaults.
#include "shell/stereo_settings.hpp"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QVBoxLayout>
#include <stdexcept>
#include <tuple>

namespace bivox::shell {

namespace {

const QString kPanRangeKey = QStringLiteral("stereo/panRange");
const QString kPitchRangeKey = QStringLiteral("stereo/pitchRange");
const QString kLeaveKey = QStringLiteral("stereo/leave");

QSettings settings() {
  return QSettings(QStringLiteral("Bivox"), QStringLiteral("Bivox"));
}

QString panRangeText(const StereoOptions& o) {
  return QString::fromStdString(pan_range_text(o.pan_left, o.pan_right));
}

QString pitchRangeText(const StereoOptions& o) {
  return o.pitch_range ? QString::fromStdString(pitch_range_text(*o.pitch_range)) : QString();
}

// The options the three texts give; throws std::invalid_argument naming the first field
// that does not read and why.
StereoOptions readOptions(const QString& pan, const QString& pitch, const QString& leave) {
  StereoOptions o;
  const auto read = [](const QString& label, auto parse, const QString& text) {
    try {
      return parse(text.toStdString());
    } catch (const std::invalid_argument& e) {
      throw std::invalid_argument(label.toStdString() + ": " + e.what());
    }
  };
  std::tie(o.pan_left, o.pan_right) = read(QStringLiteral("パンの範囲"), parse_pan_range, pan);
  if (!pitch.trimmed().isEmpty()) {
    o.pitch_range = read(QStringLiteral("音域"), parse_pitch_range, pitch);
  }
  o.leave = read(QStringLiteral("そのままのトラック"), parse_track_letters, leave);
  return o;
}

// A stored text as the option it names, or the default when it does not read.
template <class Parse, class Value>
void takeStored(const QSettings& s, const QString& key, Parse parse, Value& value) {
  if (!s.contains(key)) return;
  try {
    value = parse(s.value(key).toString().toStdString());
  } catch (const std::invalid_argument&) {
    // The value keeps its default.
  }
}

}  // namespace

StereoOptions loadStereoOptions() {
  const QSettings s = settings();
  StereoOptions o;
  std::pair<int, int> pan{o.pan_left, o.pan_right};
  takeStored(s, kPanRangeKey, parse_pan_range, pan);
  std::tie(o.pan_left, o.pan_right) = pan;
  takeStored(s, kPitchRangeKey, parse_pitch_range, o.pitch_range);  // empty: none
  takeStored(s, kLeaveKey, parse_track_letters, o.leave);
  return o;
}

void saveStereoOptions(const StereoOptions& options) {
  QSettings s = settings();
  s.setValue(kPanRangeKey, panRangeText(options));
  s.setValue(kPitchRangeKey, pitchRangeText(options));
  s.setValue(kLeaveKey, QString::fromStdString(options.leave));
  s.sync();
}

QString stereoSettingsLine(const StereoOptions& options) {
  if (options.is_default()) return {};
  QStringList parts;
  const StereoOptions defaults;
  if (options.pan_left != defaults.pan_left || options.pan_right != defaults.pan_right) {
    parts << QStringLiteral("パンの範囲 %1").arg(panRangeText(options));
  }
  if (options.pitch_range) {
    parts << QStringLiteral("音域 %1 (%2..%3)")
                 .arg(pitchRangeText(options))
                 .arg(options.pitch_range->lowest)
                 .arg(options.pitch_range->highest);
  }
  if (!options.leave.empty()) {
    parts << QStringLiteral("そのままのトラック %1").arg(QString::fromStdString(options.leave));
  }
  return QStringLiteral("ステレオ化の設定：") + parts.join(QStringLiteral("、"));
}

StereoSettingsDialog::StereoSettingsDialog(const StereoOptions& options, QWidget* parent)
    : QDialog(parent), m_options(options) {
  setWindowTitle(QStringLiteral("ステレオ化の設定"));
  m_panRange = new QLineEdit(this);
  m_panRange->setObjectName(QStringLiteral("panRange"));
  m_panRange->setPlaceholderText(QStringLiteral("-64..64"));
  m_pitchRange = new QLineEdit(this);
  m_pitchRange->setObjectName(QStringLiteral("pitchRange"));
  m_pitchRange->setPlaceholderText(QStringLiteral("C2..C7 / 36..96"));
  m_leave = new QLineEdit(this);
  m_leave->setObjectName(QStringLiteral("leave"));
  m_leave->setPlaceholderText(QStringLiteral("AB"));
  m_problem = new QLabel(this);
  m_problem->setObjectName(QStringLiteral("problem"));
  m_problem->setStyleSheet(QStringLiteral("color: #b00020"));
  m_problem->setWordWrap(true);

  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("パンの範囲 (L..R、-64～64)"), m_panRange);
  form->addRow(QStringLiteral("音域 (空欄: 曲の音から)"), m_pitchRange);
  form->addRow(QStringLiteral("そのままのトラック (A～O、Z)"), m_leave);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  auto* defaults = buttons->addButton(QStringLiteral("既定に戻す"), QDialogButtonBox::ResetRole);
  defaults->setObjectName(QStringLiteral("restoreDefaults"));
  connect(buttons, &QDialogButtonBox::accepted, this, &StereoSettingsDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(defaults, &QPushButton::clicked, this, &StereoSettingsDialog::restoreDefaults);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(m_problem);
  layout->addWidget(buttons);
  showOptions(options);
}

void StereoSettingsDialog::showOptions(const StereoOptions& options) {
  m_panRange->setText(panRangeText(options));
  m_pitchRange->setText(pitchRangeText(options));
  m_leave->setText(QString::fromStdString(options.leave));
  m_problem->clear();
}

void StereoSettingsDialog::restoreDefaults() {
  showOptions(StereoOptions{});
}

void StereoSettingsDialog::accept() {
  try {
    m_options = readOptions(m_panRange->text(), m_pitchRange->text(), m_leave->text());
  } catch (const std::invalid_argument& e) {
    m_problem->setText(QString::fromStdString(e.what()));
    return;
  }
  QDialog::accept();
}

}  // namespace bivox::shell
