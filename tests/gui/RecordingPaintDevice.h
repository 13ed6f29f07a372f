#pragma once

// A paint device that keeps every text drawn on it, with its position and page, for tests of
// the printer back end.
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPointF>
#include <QString>
#include <vector>

namespace modKestralMGA::testsupport {

class RecordingPaintEngine final : public QPaintEngine {
 public:
  struct DrawnText {
    int Page;
    QPointF Baseline;  // the start of the text's baseline, in device units
    QString Text;
  };

  RecordingPaintEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}
  bool begin(QPaintDevice*) override { return true; }
  bool end() override { return true; }
  void updateState(const QPaintEngineState&) override {}
  void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
  void drawTextItem(const QPointF& position, const QTextItem& item) override {
    m_texts.push_back({m_page, position, item.text()});
  }
  Type type() const override { return QPaintEngine::User; }

  void NewPage() { ++m_page; }
  int Page() const { return m_page; }
  const std::vector<DrawnText>& Texts() const { return m_texts; }

 private:
  int m_page = 1;
  std::vector<DrawnText> m_texts;
};

// A page of width x height device units at dpi dots per inch.
class RecordingPaintDevice final : public QPaintDevice {
 public:
  RecordingPaintDevice(int width, int height, int dpi)
      : m_width(width), m_height(height), m_dpi(dpi) {}
  ~RecordingPaintDevice() override = default;

  QPaintEngine* paintEngine() const override { return &m_engine; }
  RecordingPaintEngine& Engine() { return m_engine; }

 protected:
  int metric(PaintDeviceMetric metric) const override {
    switch (metric) {
      case PdmWidth:
        return m_width;
      case PdmHeight:
        return m_height;
      case PdmWidthMM:
        return m_width * 254 / (10 * m_dpi);
      case PdmHeightMM:
        return m_height * 254 / (10 * m_dpi);
      case PdmDpiX:
      case PdmDpiY:
      case PdmPhysicalDpiX:
      case PdmPhysicalDpiY:
        return m_dpi;
      case PdmNumColors:
        return 0x7fffffff;
      case PdmDepth:
        return 32;
      case PdmDevicePixelRatio:
        return 1;
      case PdmDevicePixelRatioScaled:
        return static_cast<int>(QPaintDevice::devicePixelRatioFScale());
    }
    return 0;
  }

 private:
  int m_width;
  int m_height;
  int m_dpi;
  mutable RecordingPaintEngine m_engine;
};

}  // namespace modKestralMGA::testsupport
