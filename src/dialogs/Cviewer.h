#pragma once
// Raster image viewer: a chartlet (a scanned chart or photograph, bitmap or
// JPEG) in a stay-on-top window that does not block the main window. With a
// valid reference (nav/ChartletReference.h) the own track is drawn on the
// image as fixes arrive, the caption shows the position under the cursor,
// and the cursor point can become a chart waypoint or be digitised as a
// chart point. Created at start-up with the other forms; lives until exit.
//
// The image is held as a bitmap of the reference's H x W image pixels (the
// picture unstretched in its top left corner), and everything is drawn on
// that bitmap in image pixels; the zoom only stretches the display. A JPEG
// is shown and zoomed but never drawn on. Every command is in the pop-up
// menu. The main window is reached through TViewerHost.

#include "nav/ChartletReference.h"
#include "nav/ChartletView.h"

#include <QDialog>
#include <QImage>
#include <memory>
#include <string>

class QAction;
class QLabel;
class QMenu;
class QScrollArea;
class TTimer;
class TViewerHost;
namespace chartwin
{
class TRasterCanvas;
}

class TCviewer : public QDialog
{
    Q_OBJECT

public:
    explicit TCviewer(QWidget* parent = nullptr, TViewerHost* host = nullptr);
    ~TCviewer() override;

    // Pop-up menu commands.
    void ZoomInClick();
    void ZoomOutClick();
    void NormalClick();
    void OpenChartletFile1Click();
    void RefInfoClick();
    void OnTopClick();
    void COVClick();
    void VCrossClick();
    void ShowtrackhistoryClick();
    void ClearTrackClick();
    void AutoplayClick();
    void PlaySoundFileClick();
    void StopAudioClipClick();
    void CreateWPClick();
    void KVChartPointClick(); // also every 2 s while "Auto Add Chart Points" is checked
    void AutoAddClick();
    void PrintChartletViewClick();
    void CopyChartletViewClick();

    // Other handlers. The mouse reports displayed pixels.
    void PopupMenu1Popup();
    void Image1MouseDown(int x, int y);
    void Image1MouseMove(int x, int y);
    void Image1MouseUp(int x, int y);
    // Draws the newest fix of the track log (Timer1, and when called).
    void CTPlot();
    void UpdateMenuState();

    // Opens an image file with its reference: `plotFix` draws the newest fix
    // after loading (Open does, a chartlet opened for a waypoint does not).
    // An image that cannot be read is reported and nothing changes.
    void OpenImage(const std::string& path, bool plotFix);
    // Timer1's interval: the fix interval, in ms. The main window calls it
    // whenever the fix interval changes.
    void SetFixInterval(int ms);

    // A chartlet named by the waypoint dialog: the next show opens
    // "<ChartsFolder><name>.jpg", or ".bmp" when there is no JPEG.
    std::string PendingName;

    // What the window shows, for its owner and tests.
    const QImage& Bitmap() const { return bitmap_; } // image pixels, with the drawing
    const ChartletReference& Reference() const { return reference_; }
    const ChartletZoom& Zoom() const { return zoom_; }
    PixelPoint CursorPoint() const { return cursor_; }
    TPosition CursorPosition() const { return cursorPosition_; }
    bool ReferenceValid() const { return referenceValid_; }
    bool ImageLoaded() const { return imageLoaded_; }
    bool ImageDrawable() const { return drawable_; }
    std::string ImagePath() const { return imagePath_; }

    QScrollArea* ScrollBox;
    QLabel* Image1; // the displayed image, H x W times the zoom
    QMenu* PopupMenu1;
    QAction *ZoomIn, *ZoomOut, *Normal, *OpenChartletFile1, *RefInfo, *OnTop, *COV, *VCross,
        *Showtrackhistory, *ClearTrack, *Autoplay, *PlaySoundFile, *StopAudioClip, *CreateWP, *KVChartPoint,
        *AutoAdd, *PrintChartletView, *CopyChartletView;
    TTimer* Timer1; // fix interval, while "Track Vessel" is checked
    TTimer* Timer2; // 2000 ms, while "Auto Add Chart Points" is checked

protected:
    void showEvent(QShowEvent* e) override;
    void contextMenuEvent(QContextMenuEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void Bind(QAction* item, void (TCviewer::*handler)());
    // The bitmap afresh from the picture, at H x W; the pen starts a new line.
    void ResetBitmap();
    // The display from the bitmap at the displayed size, and the scroll ranges.
    void ShowBitmap();
    void CentreImage();
    // One zoom step (ZoomIn or ZoomOut); a refused step beeps.
    void StepZoom(bool (*step)(ChartletZoom&));
    void ScrollToImagePixel(PixelPoint at);
    void DrawTrackTo(PixelPoint at, bool moveFirst);
    void DrawFixCross(PixelPoint at);
    void DrawCursorCross();
    void MoveCursor(int x, int y);
    void ShowCursorPosition(int x, int y);
    void ClearAndReplot();
    std::string Caption() const;
    std::string ClipPath() const;

    TViewerHost* host_ = nullptr;
    QImage picture_; // the image as read from its file
    QImage bitmap_; // what is shown: the picture with the drawing
    std::unique_ptr<chartwin::TRasterCanvas> canvas_; // draws on bitmap_
    ChartletReference reference_;
    ChartletZoom zoom_;
    PixelPoint cursor_; // image pixels
    PixelPoint lastAdded_; // the chart point digitised last
    TPosition cursorPosition_;
    bool referenceValid_ = false;
    bool imageLoaded_ = false;
    bool drawable_ = false;
    bool dragging_ = false;
    bool firstPoint_ = false; // the next plotted fix starts a new line
    bool cursorShown_ = false; // the cursor cross is on the bitmap
    std::string imagePath_;
    std::string baseName_;
    std::string referencePath_;
    std::string openFolder_; // where the open dialog starts
};

extern TCviewer* Cviewer;

// Hands a chartlet name to the raster image viewer, then closes the viewer
// and shows it again so that it opens the chartlet.
void ShowChartletInViewer(const std::string& name);
