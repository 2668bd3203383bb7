// SPDX-License-Identifier: GPL-3.0-or-later
// The players' board in the browser: it shows the state the page came with at once, then follows the game
// over the live channel, and after any loss of it (a phone asleep, the Wi-Fi gone) connects again and shows
// the whole state it is sent first.
'use strict';

(function () {
  const $ = (id) => document.getElementById(id);
  let balls = [];
  let card = null; // {serie, texto, celdas}

  function show(state) {
    const before = balls;
    balls = state.bolas || [];
    const drawn = new Set(balls);
    const current = balls.length ? balls[balls.length - 1] : 0;
    $('actual').textContent = current ? String(current) : '–';
    $('cuenta').textContent = 'Bola ' + balls.length + ' de 90';
    const previous = $('anteriores');
    previous.replaceChildren(...balls.slice(-6, -1).reverse().map((n) => item('li', n)));
    const cells = $('tablero').children;
    for (let n = 1; n <= 90 && n <= cells.length; ++n)
      cells[n - 1].classList.toggle('salida', drawn.has(n));
    // Said by a screen reader: the number just drawn, and only when it is new.
    if (current && balls.length > before.length && !before.includes(current))
      $('anuncio').textContent = 'Ha salido el ' + current;
    const prizes = $('premios');
    $('premio').textContent = state.premio ? 'Se juega: ' + state.premio : '';
    $('ganadores').replaceChildren(...(state.ganadores || []).map((w) => item('li', w)));
    prizes.classList.toggle('hay', Boolean(state.premio || (state.ganadores && state.ganadores.length)));
    showCard();
  }

  function item(tag, text) {
    const element = document.createElement(tag);
    element.textContent = String(text);
    return element;
  }

  // The card with the drawn numbers marked, and what it has: a bingo, a line (the first row all out), or
  // the numbers still missing.
  function showCard() {
    const grid = $('rejilla');
    if (!card) return;
    const drawn = new Set(balls);
    grid.replaceChildren(...card.celdas.map((n) => {
      const cell = item('span', n || '');
      cell.className = n === 0 ? 'blanco' : drawn.has(n) ? 'salida' : '';
      return cell;
    }));
    grid.hidden = false;
    const numbers = card.celdas.filter((n) => n !== 0);
    const missing = numbers.filter((n) => !drawn.has(n)).sort((a, b) => a - b);
    let verdict = '';
    if (missing.length === 0) {
      verdict = '¡Bingo! Han salido sus ' + numbers.length + ' números.';
    } else {
      for (let row = 0; row < 3 && !verdict; ++row) {
        const line = card.celdas.filter((n, k) => k % 3 === row && n !== 0);
        if (line.every((n) => drawn.has(n))) verdict = '¡Línea! En la fila ' + (row + 1) + '.';
      }
      if (!verdict) verdict = 'Faltan ' + missing.length + ': ' + missing.join(', ');
    }
    const said = $('veredicto');
    said.textContent = 'Cartón ' + card.texto + ': ' + verdict;
    said.classList.toggle('premio', verdict.startsWith('¡'));
  }

  async function lookUp(serial) {
    const said = $('veredicto');
    card = null;
    $('rejilla').hidden = true;
    if (!/^[1-9][0-9]{0,14}$/.test(serial)) {
      said.textContent = serial ? 'No hay ningún cartón con el Nº ' + serial + '.' : 'Escriba el número del cartón.';
      said.className = 'veredicto';
      return;
    }
    try {
      const answer = await fetch('/carton/' + serial, {cache: 'no-store'});
      const body = await answer.json();
      if (answer.ok) {
        card = body;
        try { localStorage.setItem('carton', serial); } catch (e) { /* a private window keeps nothing */ }
        showCard();
      } else {
        said.textContent = body.error;
        said.className = 'veredicto';
      }
    } catch (e) {
      said.textContent = 'No se ha podido consultar el cartón. Inténtelo de nuevo.';
      said.className = 'veredicto';
    }
  }

  let channel = null;
  let retry = null;
  function connect() {
    if (channel) channel.close();
    clearTimeout(retry);
    channel = new EventSource('/eventos');
    channel.onopen = () => { $('conexion').textContent = 'En directo'; };
    channel.onmessage = (event) => { show(JSON.parse(event.data)); };
    channel.onerror = () => {
      $('conexion').textContent = 'Reconectando…';
      // The browser tries again by itself unless the answer was a refusal (a full house): then we do.
      if (channel.readyState === EventSource.CLOSED) retry = setTimeout(connect, 3000);
    };
  }

  document.addEventListener('visibilitychange', () => {
    if (document.visibilityState === 'visible' && (!channel || channel.readyState === EventSource.CLOSED))
      connect();
  });
  $('buscar').addEventListener('submit', (event) => {
    event.preventDefault();
    lookUp($('serie').value.trim());
  });

  show(JSON.parse(document.body.dataset.estado));
  try {
    const kept = localStorage.getItem('carton');
    if (kept) { $('serie').value = kept; lookUp(kept); }
  } catch (e) { /* nothing kept */ }
  connect();
})();
