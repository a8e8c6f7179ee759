/* Brindlewick FAQ page: the search box.
   As the reader types, the entries that do not hold every word of the text,
   in their question or their answer and in any order, are hidden together
   with their links in the question list, and once the typing pauses a line
   beside the box says how many are left. Upper and lower case, full-width
   and half-width forms, and hiragana and katakana count as the same.

   Text that an input method is still converting is not searched: the page
   waits for the conversion to end, so the reading typed on the way to a
   word in kanji does not empty the list. Half-width kana take their voiced
   marks as the next letter, so a last half-width ha also finds ba and pa
   until the mark arrives.

   A keystroke only compares strings and changes the entries whose state
   changes. The entries' text is made comparable a little at a time once
   the page has loaded, or at once when the box is used first.

   Every entry stays where the page put it. While the box is in use the
   entries' list has the class "search-on", which the style sheet reads as
   "hide every entry", and the entries the search shows have the class
   "search-show". On a page of more entries than data-many (1500 unless it
   says) only the first of them are shown at once and the rest as the
   reader scrolls down to them, so a keystroke touches about as many
   entries as fit on a few screens, however many the page holds. When the
   box is cleared on such a page, every entry from the first is shown the
   same way, and once the box has been left for a moment the list loses
   "search-on" and the page is whole again.

   The page may be changed while it is shown (Brindlewick's preview puts an
   edit into the shown page): an entry whose text changes is read again, an
   entry put in or taken out joins or leaves the search, and the text in
   the box is applied again, once per frame however many changes came.

   The box is in the page from the start, so nothing moves when this script
   runs; the page hides it when scripts are off (a style in <noscript>). A
   box written with the hidden attribute is shown here, as before.

   The element with the class "search" says where things are, by selectors:
     data-entry     an entry: everything drawn for one question
     data-question  the question inside an entry
     data-answer    the answer inside an entry
     data-toc       a link of the question list, in the order of the entries
     data-list      the question list as a whole (the link's nearest one)
     data-found     the line when some entries match; "{n}" becomes the number
     data-none      the line when none does
     data-many      the number of entries above which the entries found are
                    shown a few screens at a time
   Links that are not shown get the class "search-miss", and so does the
   list when nothing matches; the style sheet hides them. On a page of no
   more than data-many entries, so do the entries that are not shown, for
   style sheets that hide entries by that class alone. An entry that is
   shown while the box is in use gets its number among the entries as
   --faq-number on its question, for the style sheet's counter, which no
   longer sees the hidden ones.

   An entry whose question is empty (switched off in Brindlewick) is never
   searched, shown or counted. An entry that opens and closes (a <details>
   element, or one whose question has aria-expanded, is clicked to open or
   close, and sends "toggle" from the entry when it does) opens when its
   answer comes to hold a word of the text and no more than 100 entries
   match, and closes again when that is no longer so or the box is
   cleared, unless it was open before. An address that leads to an entry
   the search hides clears the box, and an address to an entry is followed
   again once the page around it has been laid out, so that it lands
   exactly. */
(function () {
  "use strict";

  var MISS = "search-miss";
  var ON = "search-on";
  var SHOW = "search-show";
  var KATAKANA_RUNS = /[\u30a1-\u30f6]+/g;
  var UPPER = /[A-Z]/;
  // Runs of what NFKC may change: beyond ASCII, kana, CJK punctuation and kanji
  var UNUSUAL_RUNS = /[^\u0020-\u007e\u3001-\u3002\u3041-\u3096\u30a1-\u30fa\u30fc\u4e00-\u9fff]+/g;
  // A half-width kana at the end of the text, before its voiced mark comes
  var LAST_HALF_WIDTH_KANA = /[\uff66-\uff9d]$/;
  var PAUSE_MS = 600;
  var OPEN_AT_MOST = 100;
  var PAGE = 40;
  // Entries made comparable at a time while the page is idle, and for how
  // long at most: a slow phone stays free to answer the reader
  var STEP = 25;
  var IDLE_SLICE_MS = 8;
  var HOME_AFTER_MS = 1500;
  // Changes to the entries' list: entries in and out, their text, and the
  // classes this script gives them
  var WATCHED = {
    childList: true,
    subtree: true,
    characterData: true,
    attributes: true,
    attributeFilter: ["class"]
  };

  var box = document.querySelector(".search");
  if (!box) {
    return;
  }
  var input = box.querySelector("input");
  var status = box.querySelector(".search-status");
  if (!input || typeof String.prototype.normalize !== "function" || !window.WeakMap) {
    box.hidden = true;
    return;
  }

  function setting(name, fallback) {
    var value = box.getAttribute("data-" + name);
    return value ? value : fallback;
  }

  function normalizeRun(run) {
    return run.normalize("NFKC");
  }

  function hiraganaRun(run) {
    var codes = new Array(run.length);
    for (var i = 0; i < run.length; i++) {
      codes[i] = run.charCodeAt(i) - 0x60;
    }
    return String.fromCharCode.apply(null, codes);
  }

  // The form of a text that searching compares: NFKC makes full-width Latin
  // letters and digits half-width and half-width katakana full-width (with
  // their voiced marks joined), then case and katakana are folded. Only the
  // runs of letters that need a step go through it: most of an FAQ needs
  // none.
  function fold(text) {
    text = text.replace(UNUSUAL_RUNS, normalizeRun);
    if (UPPER.test(text)) {
      text = text.toLowerCase();
    }
    return text.replace(KATAKANA_RUNS, hiraganaRun);
  }

  // The letters a last letter may still become: ha, ba and pa for ha.
  function withVoicedMarks(letter) {
    var letters = [letter];
    ["\u3099", "\u309a"].forEach(function (mark) {
      var joined = (letter + mark).normalize("NFC");
      if (joined.length === 1) {
        letters.push(joined);
      }
    });
    return letters;
  }

  // The words of the box, each as the strings any of which it may match.
  function wordsOf(value) {
    var words = fold(value.normalize("NFKC"))
      .split(/\s+/)
      .filter(function (word) {
        return word !== "";
      });
    var last = words.length - 1;
    if (last >= 0 && LAST_HALF_WIDTH_KANA.test(value.replace(/\s+$/, ""))) {
      var stem = words[last].slice(0, -1);
      words[last] = withVoicedMarks(words[last].slice(-1)).map(function (letter) {
        return stem + letter;
      });
    }
    return words.map(function (word) {
      return typeof word === "string" ? [word] : word;
    });
  }

  function holds(text, forms) {
    for (var i = 0; i < forms.length; i++) {
      if (text.indexOf(forms[i]) !== -1) {
        return true;
      }
    }
    return false;
  }

  // Empty as CSS :empty sees it, which is how the designs hide an entry.
  function isEmpty(element) {
    return !element || !element.firstChild;
  }

  function all(selector) {
    return Array.prototype.slice.call(document.querySelectorAll(selector));
  }

  function later(work) {
    if (window.requestIdleCallback) {
      window.requestIdleCallback(work, { timeout: 500 });
    } else {
      window.setTimeout(work, 50);
    }
  }

  var entrySelector = setting("entry", ".qa");
  var questionSelector = setting("question", ".question");
  var answerSelector = setting("answer", ".answer");

  // The entries, found once the page has loaded and been idle for a moment;
  // their text is made comparable in chunks while the page is idle, or all
  // at once when the box needs it first.
  var entries = null;
  var entryOf = new WeakMap();
  var container = null;
  var list = null;
  var folding = 0;
  var many = false;

  function entryFor(element, position) {
    var question = element.querySelector(questionSelector);
    if (isEmpty(question)) {
      return null;
    }
    var entry = entryOf.get(element);
    if (!entry) {
      entry = {
        element: element,
        question: "",
        answer: "",
        folded: false,
        link: null,
        shown: true,
        revealed: false,
        opens: element.tagName === "DETAILS" || question.hasAttribute("aria-expanded"),
        inAnswer: false,
        openedHere: false,
        number: 0,
        numbered: ""
      };
      entryOf.set(element, entry);
    }
    entry.questionElement = question;
    entry.number = position;
    return entry;
  }

  function collect(elements) {
    entries = [];
    elements.forEach(function (element) {
      var entry = entryFor(element, entries.length + 1);
      if (entry) {
        entries.push(entry);
      }
    });
    many = entries.length > Number(setting("many", "1500")) && !!window.IntersectionObserver;
    folding = 0;
  }

  function findEntries() {
    var elements = all(entrySelector);
    collect(elements);
    if (elements.length) {
      container = elements[0].parentNode;
      if (window.MutationObserver) {
        new MutationObserver(noteChanges).observe(container, WATCHED);
      }
    }
    findLinks();
    matched = entries.slice();
  }

  // The list holds the questions in the same order as the entries. A page
  // may build its list only when the reader opens it: the links are looked
  // for again then, and take the state of their entries.
  function findLinks() {
    var links = all(setting("toc", ".toc-list a")).filter(function (link) {
      return !isEmpty(link);
    });
    if (!links.length || links.length !== entries.length || entries[0].link === links[0]) {
      return;
    }
    links.forEach(function (link, i) {
      var entry = entries[i];
      entry.link = link;
      link.classList.toggle(MISS, !entry.shown);
    });
    list = links[0].closest(setting("list", ".toc"));
    if (list) {
      list.classList.toggle(MISS, searching && matched.length === 0);
    }
  }

  // The question's number for the counter, which no longer counts the
  // entries the search hides.
  function number(entry) {
    var value = String(entry.number);
    if (entry.numbered !== value) {
      entry.numbered = value;
      entry.questionElement.style.setProperty("--faq-number", value);
    }
  }

  function foldEntry(entry) {
    var answer = entry.element.querySelector(answerSelector);
    entry.question = fold(entry.questionElement.textContent);
    entry.answer = answer ? fold(answer.textContent) : "";
    entry.folded = true;
  }

  function foldUpTo(end) {
    for (; folding < end; folding++) {
      if (!entries[folding].folded) {
        foldEntry(entries[folding]);
      }
    }
  }

  function ready() {
    if (!entries) {
      findEntries();
    }
    foldUpTo(entries.length);
  }

  function prepareWhileIdle() {
    if (!entries) {
      findEntries();
    } else {
      var until = Date.now() + IDLE_SLICE_MS;
      do {
        foldUpTo(Math.min(folding + STEP, entries.length));
      } while (folding < entries.length && Date.now() < until);
    }
    if (folding < entries.length) {
      later(prepareWhileIdle);
    }
  }

  var found = setting("found", "{n}\u4ef6\u306e\u8cea\u554f\u304c\u898b\u3064\u304b\u308a\u307e\u3057\u305f");
  var none = setting("none", "\u8a72\u5f53\u3059\u308b\u8cea\u554f\u306f\u3042\u308a\u307e\u305b\u3093");
  var lastQuery = "[]";
  var searching = false;
  var composing = false;
  var announcement = 0;
  var currentWords = [];
  var matched = [];

  // Opens an entry when its answer comes to hold the text and closes it when
  // the answer no longer does, if it was this that opened it. Between the
  // two the reader may open and close it as usual.
  function followAnswer(entry, inAnswer) {
    if (!entry.opens || inAnswer === entry.inAnswer) {
      return;
    }
    entry.inAnswer = inAnswer;
    if (inAnswer) {
      if (!isOpen(entry)) {
        entry.openedHere = true;
        setOpen(entry, true);
      }
    } else if (entry.openedHere) {
      entry.openedHere = false;
      setOpen(entry, false);
    }
  }

  function isOpen(entry) {
    var element = entry.element;
    if (element.tagName === "DETAILS") {
      return element.open;
    }
    return entry.questionElement.getAttribute("aria-expanded") === "true";
  }

  function setOpen(entry, open) {
    if (entry.element.tagName === "DETAILS") {
      entry.element.open = open;
    } else if (isOpen(entry) !== open) {
      entry.questionElement.click();
    }
  }

  function matches(entry, words) {
    for (var i = 0; i < words.length; i++) {
      if (!holds(entry.question, words[i]) && !holds(entry.answer, words[i])) {
        return false;
      }
    }
    return true;
  }

  function answerHolds(entry, words) {
    for (var i = 0; i < words.length; i++) {
      if (holds(entry.answer, words[i])) {
        return true;
      }
    }
    return false;
  }

  function opensIn(entry) {
    return (
      searching && matched.length <= OPEN_AT_MOST && entry.shown && answerHolds(entry, currentWords)
    );
  }

  // Says the count once the reader stops typing, so a screen reader speaks
  // one line instead of one per keystroke.
  function announce(line) {
    if (!status) {
      return;
    }
    window.clearTimeout(announcement);
    announcement = window.setTimeout(
      function () {
        if (status.textContent !== line) {
          status.textContent = line;
        }
      },
      line === "" ? 0 : PAUSE_MS
    );
  }

  /* What the entries' list shows while the box is in use: the first entries
     of `matched`, all of them on a page of few. Only the entries that come
     or go change class; the last one shown is watched, to show more when
     the reader scrolls near it. */
  var revealed = [];
  var revealMark = 0;
  var watcher = null;
  var homecoming = 0;

  var on = false;

  function setOn(value) {
    on = value;
    container.classList.toggle(ON, value);
  }

  function watchLast() {
    if (!many) {
      return;
    }
    if (!watcher) {
      watcher = new IntersectionObserver(
        function (seen) {
          if (seen[seen.length - 1].isIntersecting) {
            window.requestAnimationFrame(showMore);
          }
        },
        { rootMargin: "0px 0px 100% 0px" }
      );
    }
    watcher.disconnect();
    if (revealed.length && revealed.length < matched.length) {
      watcher.observe(revealed[revealed.length - 1].element);
    }
  }

  function reveal(count) {
    var wanted = matched.length > count ? matched.slice(0, count) : matched;
    revealMark++;
    wanted.forEach(function (entry) {
      entry.revealMark = revealMark;
    });
    revealed.forEach(function (entry) {
      if (entry.revealMark !== revealMark) {
        entry.revealed = false;
        entry.element.classList.remove(SHOW);
      }
    });
    wanted.forEach(function (entry) {
      number(entry);
      if (!entry.revealed) {
        entry.revealed = true;
        entry.element.classList.add(SHOW);
      }
    });
    revealed = wanted;
    setOn(true);
    watchLast();
  }

  function showMore() {
    if (!on || revealed.length >= matched.length) {
      return;
    }
    var last = revealed[revealed.length - 1].element.getBoundingClientRect();
    if (last.top > window.innerHeight * 2) {
      return;
    }
    reveal(revealed.length + PAGE);
  }

  // Every entry shown as the page has it
  function bringHome() {
    window.clearTimeout(homecoming);
    if (watcher) {
      watcher.disconnect();
    }
    if (on) {
      setOn(false);
    }
  }

  // On a page of many, the entries' list is put under the search's hand as
  // soon as the box has the focus, so that typing does not wait for it, and
  // given back once the box is empty and has lost it.
  function showFound() {
    if (!container) {
      return;
    }
    window.clearTimeout(homecoming);
    if (!searching && !many) {
      bringHome();
      return;
    }
    reveal(many ? PAGE : matched.length);
    if (!searching && document.activeElement !== input) {
      homecoming = window.setTimeout(function () {
        later(function () {
          if (!searching && document.activeElement !== input) {
            bringHome();
          }
        });
      }, HOME_AFTER_MS);
    }
  }

  function apply(again) {
    if (composing) {
      return;
    }
    var words = wordsOf(input.value);
    var query = JSON.stringify(words);
    if (query === lastQuery && again !== true) {
      return;
    }
    lastQuery = query;
    searching = words.length > 0;
    currentWords = words;
    ready();
    matched = [];
    for (var i = 0; i < entries.length; i++) {
      var entry = entries[i];
      var shown = matches(entry, words);
      if (shown !== entry.shown) {
        entry.shown = shown;
        if (!many) {
          entry.element.classList.toggle(MISS, !shown);
        }
        if (entry.link) {
          entry.link.classList.toggle(MISS, !shown);
        }
      }
      if (shown) {
        matched.push(entry);
      }
    }
    if (searching || on || (many && document.activeElement === input)) {
      showFound();
    }
    for (var j = 0; j < entries.length; j++) {
      followAnswer(entries[j], opensIn(entries[j]));
    }
    if (list) {
      list.classList.toggle(MISS, matched.length === 0);
    }
    announce(!searching ? "" : matched.length ? found.replace("{n}", String(matched.length)) : none);
  }

  /* Changes made to the page while it is shown. Each entry touched is read
     again, entries put in or taken out are found again, and the text in the
     box is applied again: once per frame, however many changes came. */
  var touched = [];
  var regroup = false;
  var catchingUp = false;

  function entryElementOf(node) {
    var element = node.nodeType === 1 ? node : node.parentNode;
    return element && element.closest ? element.closest(entrySelector) : null;
  }

  function noteChanges(records) {
    for (var i = 0; i < records.length; i++) {
      var record = records[i];
      if (record.target === container) {
        if (record.type === "childList") {
          regroup = true;
        } else if (container.classList.contains(ON) !== on) {
          touched.push(null);
        }
        continue;
      }
      var element = entryElementOf(record.target);
      var entry = element && entryOf.get(element);
      if (!element) {
        continue;
      }
      if (record.type === "attributes") {
        // A class other than this script's, or one of its classes lost
        if (!entry || record.target !== element || entry.revealed === element.classList.contains(SHOW)) {
          continue;
        }
      }
      if (!entry) {
        // An entry that had no question may have one now
        regroup = true;
      } else {
        touched.push(entry);
      }
    }
    if (!catchingUp && (regroup || touched.length)) {
      catchingUp = true;
      window.requestAnimationFrame(catchUp);
    }
  }

  function catchUp() {
    catchingUp = false;
    var again = touched;
    touched = [];
    again.forEach(function (entry) {
      if (!entry) {
        return;
      }
      var question = entry.element.querySelector(questionSelector);
      entry.numbered = "";
      if (isEmpty(question)) {
        regroup = true;
      } else {
        entry.questionElement = question;
        if (entry.folded) {
          foldEntry(entry);
        }
      }
    });
    if (regroup) {
      regroup = false;
      var before = entries.length;
      collect(
        Array.prototype.filter.call(container.children, function (element) {
          return element.matches(entrySelector);
        })
      );
      revealed = revealed.filter(function (entry) {
        return entry.element.parentNode === container;
      });
      entries.forEach(function (entry) {
        entry.link = null;
      });
      if (entries.length !== before) {
        list = null;
      }
      findLinks();
      later(prepareWhileIdle);
    }
    container.classList.toggle(ON, on);
    revealed.forEach(function (entry) {
      entry.element.classList.add(SHOW);
    });
    if (searching || on) {
      apply(true);
    }
  }

  function clear() {
    input.value = "";
    apply();
  }

  input.addEventListener("compositionstart", function () {
    composing = true;
  });
  input.addEventListener("compositionend", function () {
    composing = false;
    apply();
  });
  input.addEventListener("input", function (event) {
    if (!event.isComposing) {
      apply();
    }
  });
  // Escape in the box, or its clear button where the browser draws one
  input.addEventListener("search", apply);
  input.addEventListener("keydown", function (event) {
    if ((event.key === "Escape" || event.key === "Esc") && input.value !== "" && !composing) {
      event.preventDefault();
      clear();
    }
  });
  input.addEventListener("focus", function () {
    ready();
    if (many) {
      showFound();
    }
  });
  input.addEventListener("blur", function () {
    if (!searching && on) {
      showFound();
    }
  });

  // An entry the reader closes, or opens or closes with every other, keeps
  // that state when the text changes or is cleared.
  document.addEventListener(
    "toggle",
    function (event) {
      var entry = entryOf.get(event.target);
      if (entry && entry.openedHere && !isOpen(entry)) {
        entry.openedHere = false;
      } else if (!entry && entries) {
        // perhaps the question list, built as it opens
        window.setTimeout(findLinks, 0);
      }
    },
    true
  );
  document.addEventListener("click", function (event) {
    var button = event.target && event.target.closest ? event.target.closest("button") : null;
    if (button && button.hasAttribute("data-faq") && entries) {
      entries.forEach(function (entry) {
        entry.openedHere = false;
      });
    }
  });

  function targetOfAddress() {
    var id = location.hash.replace(/^#/, "");
    if (!id) {
      return null;
    }
    try {
      id = decodeURIComponent(id);
    } catch (e) {
      // keep it as it is
    }
    return document.getElementById(id);
  }

  // Entries far from the screen are laid out only when they come near it,
  // a frame or two after each other, so an entry reached by an address can
  // move as those around it take their real height: it is lined up again
  // until it has stayed in place for a few frames, unless the reader moves
  // the page first.
  var STILL_FRAMES = 3;
  var MOST_LINING_FRAMES = 60;
  var liningUp = 0;

  function stopLiningUp() {
    liningUp++;
  }
  ["wheel", "touchstart", "keydown", "mousedown"].forEach(function (type) {
    window.addEventListener(type, stopLiningUp, { capture: true, passive: true });
  });

  function lineUp(target) {
    var run = ++liningUp;
    var frames = 0;
    var still = 0;
    function check() {
      if (run !== liningUp) {
        return;
      }
      var top = target.getBoundingClientRect().top;
      var margin = parseFloat(window.getComputedStyle(target).scrollMarginTop) || 0;
      if (Math.abs(top - margin) > 1) {
        target.scrollIntoView({ block: "start" });
        still = 0;
      } else {
        still++;
      }
      if (still < STILL_FRAMES && ++frames < MOST_LINING_FRAMES) {
        window.requestAnimationFrame(check);
      }
    }
    window.requestAnimationFrame(function () {
      window.requestAnimationFrame(check);
    });
  }

  function isHidden(target) {
    var element = entryElementOf(target);
    return !!(on && element && element.parentNode === container && !element.classList.contains(SHOW));
  }

  // An address that leads to a hidden entry shows every entry again
  function followAddress() {
    var target = targetOfAddress();
    if (!target) {
      return;
    }
    if (isHidden(target)) {
      if (searching) {
        clear();
      }
      bringHome();
      target.scrollIntoView({ block: "start" });
    }
    lineUp(target);
  }
  window.addEventListener("hashchange", followAddress);
  window.addEventListener("load", function () {
    var target = targetOfAddress();
    if (target) {
      lineUp(target);
    }
    // Out of the way of whatever the page still does after loading
    window.setTimeout(function () {
      later(prepareWhileIdle);
    }, 1000);
  });

  // A text the browser put back into the box (going back to the page)
  window.addEventListener("pageshow", apply);

  box.hidden = false;
  if (input.value !== "") {
    apply();
  }
})();
