// A picture page leads on: the left and right arrow keys go to the previous
// and the next picture, as does a horizontal swipe on a touch screen. Where
// the page's links "Föregående" and "Nästa" are (rel="prev", rel="next"),
// they go; where one is left out, at either end of the album, nothing does.
//
// The build puts this script inline into every picture template, so a page
// needs no file of its own. The generator fills the template around it: no
// word here may read as one of its markers.
(function () {
  "use strict";

  // A swipe is this far sideways, and mostly sideways.
  var kSwipePixels = 60;

  function go(rel) {
    var link = document.querySelector('a[rel="' + rel + '"]');
    if (link) window.location.href = link.href;
  }

  // The comment's player and a form field keep their keys and touches.
  function ownKeys(element) {
    return element && element.closest &&
      element.closest("audio, video, input, textarea, select, [contenteditable]");
  }

  document.addEventListener("keydown", function (event) {
    if (event.defaultPrevented || event.altKey || event.ctrlKey || event.metaKey || event.shiftKey) return;
    if (ownKeys(event.target)) return;
    if (event.key === "ArrowLeft") go("prev");
    else if (event.key === "ArrowRight") go("next");
    else return;
    event.preventDefault();
  });

  var start = null;
  document.addEventListener("touchstart", function (event) {
    var touch = event.touches[0];
    start = event.touches.length === 1 && !ownKeys(event.target) ? { x: touch.clientX, y: touch.clientY } : null;
  }, { passive: true });
  document.addEventListener("touchend", function (event) {
    if (!start) return;
    var touch = event.changedTouches[0];
    var dx = touch.clientX - start.x;
    var dy = touch.clientY - start.y;
    start = null;
    if (Math.abs(dx) >= kSwipePixels && Math.abs(dx) > 2 * Math.abs(dy)) go(dx < 0 ? "next" : "prev");
  }, { passive: true });
})();
