// The album as a narrated slideshow: each picture of the index page fills the
// window with its caption while its spoken comment (NAME.wav) plays.
//
// The build puts this script inline into every index template, since an album
// must work from file:// with no file of its own. It therefore stands in the
// template's tail, which the generator writes as it is: nothing here may read
// as a cell end or a placeholder to it.
(function () {
  "use strict";

  // How long a picture without a playable comment stays.
  var kSilentMs = 4000;
  // A skipped recording leaves a 0.2 s empty sound: that is no comment either.
  var kEmptyCommentSeconds = 0.3;
  var kGoBackName = "Tillbaka till föregående album";

  // Before the template's own style sheet, so that the template has the last word.
  var kStyle =
    ".bildspel-start { margin: 0.5rem 0 1rem; text-align: center; }" +
    ".bildspel-start button, dialog.bildspel button {" +
    " min-height: 2.75rem; padding: 0.4rem 1.1rem; font: inherit; cursor: pointer; }" +
    "dialog.bildspel { position: fixed; inset: 0; box-sizing: border-box;" +
    " width: 100%; height: 100%; max-width: none; max-height: none; margin: 0;" +
    " padding: 0.75rem; border: 0; background: #000000; color: #eeeeee; }" +
    // Focused itself by a click on the picture: a ring round the window tells nothing.
    "dialog.bildspel:focus { outline: none; }" +
    "dialog.bildspel[open] { display: flex; flex-direction: column; }" +
    // As wide as the window, shrunk to its height when it is too tall, so
    // the caption always sits right under the picture.
    "dialog.bildspel figure { flex: 1; min-height: 0; margin: 0; display: flex;" +
    " flex-direction: column; justify-content: center; }" +
    "dialog.bildspel img { min-height: 0; width: 100%; height: auto; object-fit: contain; }" +
    "dialog.bildspel figcaption { margin: 0.6rem 0 0.2rem; font-size: 1.25rem;" +
    " text-align: center; overflow-wrap: anywhere; }" +
    ".bildspel-topp { display: flex; align-items: center; justify-content: space-between; }" +
    ".bildspel-knappar { display: flex; flex-wrap: wrap; gap: 0.5rem; justify-content: center; }" +
    "dialog.bildspel button { border: 1px solid #9a9a9a; border-radius: 4px;" +
    " background: transparent; color: inherit; }" +
    "dialog.bildspel button:focus-visible { outline: 3px solid #ffcc66; outline-offset: 2px; }";

  // A cell is a slide when its link goes to a picture page in this folder:
  // a sub-album's (folder/index.html) and the way back (../index.html) do not.
  function slidesOf(doc) {
    var slides = [];
    doc.querySelectorAll("td").forEach(function (cell) {
      var link = cell.querySelector("a[href]");
      var picture = link && link.querySelector("img[src]");
      var page = link ? link.getAttribute("href") : "";
      if (picture && /\.html$/i.test(page) && page.indexOf("/") < 0) {
        slides.push({
          // The copy the size of a screen where the template names one.
          picture: picture.getAttribute("data-bildspel") || picture.getAttribute("src"),
          comment: page.replace(/\.html$/i, ".wav"),
          caption: cell.textContent.trim() || picture.alt,
        });
      }
    });
    return slides;
  }

  function make(tag, className, text) {
    var element = document.createElement(tag);
    if (className) element.className = className;
    if (text) element.textContent = text;
    return element;
  }

  function makeButton(text, action) {
    var button = make("button", "", text);
    button.type = "button";
    button.addEventListener("click", action);
    return button;
  }

  // The way back has an empty caption by design; without scripts the
  // template's own "Tillbaka" text (CSS) is its name.
  document.querySelectorAll('a[href="../index.html"]').forEach(function (link) {
    if (!link.hasAttribute("aria-label")) link.setAttribute("aria-label", kGoBackName);
  });

  var slides = slidesOf(document);
  var firstCell = document.querySelector("td");
  var table = firstCell && firstCell.closest("table");
  if (!slides.length || !table || !window.HTMLDialogElement) return;

  var style = make("style", "", kStyle);
  document.head.insertBefore(style, document.head.firstChild);

  var dialog = make("dialog", "bildspel");
  dialog.setAttribute("aria-label", "Bildspel");
  var figure = make("figure");
  var picture = make("img");
  var caption = make("figcaption");
  caption.setAttribute("aria-live", "polite");
  var counter = make("span");
  var sound = make("audio");
  sound.preload = "auto";
  var previousButton = makeButton("Föregående", function () { show(at - 1); });
  var pauseButton = makeButton("Pausa", function () { setPaused(!paused); });
  var nextButton = makeButton("Nästa", function () { show(at + 1); });
  var closeButton = makeButton("Stäng", function () { dialog.close(); });
  var bar = make("div", "bildspel-topp");
  bar.append(counter, closeButton);
  var controls = make("div", "bildspel-knappar");
  controls.append(previousButton, pauseButton, nextButton);
  figure.append(picture, caption);
  dialog.append(bar, figure, controls, sound);
  document.body.appendChild(dialog);

  var startBox = make("p", "bildspel-start");
  var startButton = makeButton("Spela upp", startShow);
  startBox.appendChild(startButton);
  table.parentNode.insertBefore(startBox, table);

  var at = -1;
  var paused = false;
  // A silent picture's wait: what is left of it, and its running timer.
  var waitLeft = 0;
  var waitSince = 0;
  var timer = 0;

  function startShow() {
    setPaused(false);
    dialog.showModal();
    // On "Nästa", Space goes on as a pressed button does.
    nextButton.focus();
    show(0);
  }

  // Going past the last picture ends the show.
  function show(index) {
    stopTimer();
    waitLeft = 0;
    if (index >= slides.length) {
      dialog.close();
      return;
    }
    at = Math.max(index, 0);
    var slide = slides[at];
    picture.src = slide.picture;
    picture.alt = slide.caption;
    caption.textContent = slide.caption;
    counter.textContent = at + 1 + " av " + slides.length;
    sound.src = slide.comment;
    if (!paused) playComment();
  }

  function playComment() {
    var playing = sound.play();
    var slide = at;
    // A file that is missing or unplayable arrives as an error event; here
    // only a browser that will not play it.
    if (playing) {
      playing.catch(function (error) {
        if (error.name === "NotAllowedError" && slide === at) silent();
      });
    }
  }

  function silent() {
    if (waitLeft) return;
    waitLeft = kSilentMs;
    if (!paused) startTimer();
  }

  function startTimer() {
    waitSince = Date.now();
    timer = setTimeout(function () { show(at + 1); }, waitLeft);
  }

  function stopTimer() {
    clearTimeout(timer);
    timer = 0;
  }

  function setPaused(on) {
    paused = on;
    pauseButton.textContent = on ? "Fortsätt" : "Pausa";
    if (!dialog.open) return;
    if (on) {
      sound.pause();
      if (timer) {
        stopTimer();
        waitLeft = Math.max(waitLeft - (Date.now() - waitSince), 1);
      }
    } else if (waitLeft) {
      startTimer();
    } else {
      playComment();
    }
  }

  sound.addEventListener("ended", function () {
    if (sound.duration < kEmptyCommentSeconds) silent();
    else show(at + 1);
  });
  // An error of a file left behind comes with no error set any more.
  sound.addEventListener("error", function () {
    if (dialog.open && sound.error) silent();
  });

  // On the document, so that the keys work wherever a click left the focus.
  // Escape is the dialog's own.
  document.addEventListener("keydown", function (event) {
    if (!dialog.open || event.altKey || event.ctrlKey || event.metaKey) return;
    var key = event.key;
    // A focused button keeps Space and Enter for itself.
    if (key === "ArrowRight" || (key === " " && event.target.tagName !== "BUTTON")) show(at + 1);
    else if (key === "ArrowLeft") show(at - 1);
    else if (key === "p" || key === "P") setPaused(!paused);
    else return;
    event.preventDefault();
  });

  dialog.addEventListener("close", function () {
    stopTimer();
    sound.pause();
    at = -1;
    // Not every browser focuses a clicked button, nor so gives focus back to it.
    startButton.focus();
  });
})();
