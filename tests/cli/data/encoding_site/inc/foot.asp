<p>footer</p>
